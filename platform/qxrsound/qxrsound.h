/* libqxrsound: streaming sound buffers played into the program's own sound device. */
/*
 * A device plays any number of looping ring buffers of PCM sound (8 or 16 bits, mono or
 * stereo, 100 to 200,000 Hz) into the output given at its creation: the program's sound
 * device, which calls the layer's mix function for stereo 16-bit frames at its own rate
 * and adds them to whatever else it plays. Every buffer is converted to that rate, so a
 * buffer plays at its own frequency and pitch.
 *
 * Every function is exported as a plain C symbol named "SO_" + operation, so programs load
 * the library at run time and bind each function by name. Results are 0 (SO_OK) or one of
 * the SO_ERR_* codes. A NULL device or buffer gives SO_ERR_INVALIDPARAM.
 *
 * Threads: the output's mix function runs on the sound device's own thread; every other
 * function is for one program thread. The play cursor and the playing state are shared
 * under a lock. Lock hands out the buffer's own memory: the program writes only the part
 * the play cursor has passed, so the two threads never touch the same bytes.
 */
#ifndef QXRSOUND_H
#define QXRSOUND_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SO_Device SO_Device;
typedef struct SO_Buffer SO_Buffer;

/* What the sound device calls for frames of interleaved stereo 16-bit samples. */
typedef void (*SO_MixFunction)(void* user, short* frames, int frameCount);

/* The output a device plays into. */
typedef struct SO_Output {
  int rate; /* the sound device's frames per second; 0 when there is no device */
  /* Makes the sound device call mix(user, ...) for its music, or stop calling it (NULL). */
  void (*attach)(SO_MixFunction mix, void* user);
} SO_Output;

/* Results. */
#define SO_OK 0
#define SO_ERR_OUTOFMEMORY ((int32_t)0x8007000E)
#define SO_ERR_UNSUPPORTED ((int32_t)0x80004001)
#define SO_ERR_INVALIDPARAM ((int32_t)0x80070057)
#define SO_ERR_CONTROLUNAVAIL ((int32_t)0x8878001E)
#define SO_ERR_INVALIDCALL ((int32_t)0x88780032)
#define SO_ERR_BADFORMAT ((int32_t)0x88780064)
#define SO_ERR_NODRIVER ((int32_t)0x88780078)
#define SO_ERR_ALREADYINITIALIZED ((int32_t)0x88780082)

/* Cooperative levels. */
#define SO_LEVEL_NORMAL 1
#define SO_LEVEL_PRIORITY 2
#define SO_LEVEL_EXCLUSIVE 3
#define SO_LEVEL_WRITEPRIMARY 4

/* Buffer description flags. */
#define SO_BUFFER_PRIMARY 0x1           /* the device's primary buffer: no data of its own */
#define SO_BUFFER_CTRLFREQUENCY 0x20    /* SetFrequency allowed */
#define SO_BUFFER_CTRLPAN 0x40
#define SO_BUFFER_CTRLVOLUME 0x80       /* SetVolume allowed */
#define SO_BUFFER_GLOBALFOCUS 0x8000
#define SO_BUFFER_GETCURRENTPOSITION2 0x10000
#define SO_BUFFER_LOCDEFER 0x40000

#define SO_LOCK_ENTIREBUFFER 0x2
#define SO_PLAY_LOOPING 0x1

#define SO_FREQUENCY_ORIGINAL 0
#define SO_FREQUENCY_MIN 100
#define SO_FREQUENCY_MAX 200000
#define SO_VOLUME_MAX 0                 /* hundredths of a decibel */
#define SO_VOLUME_MIN (-10000)          /* silence */
#define SO_BUFFER_MIN_BYTES 4
#define SO_BUFFER_MAX_BYTES 0x0FFFFFFF

#pragma pack(push, 1)
/* PCM wave format, 18 bytes. */
typedef struct SO_WaveFormat {
  uint16_t formatTag; /* 1: PCM */
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign; /* bytes per frame: channels * bitsPerSample / 8 */
  uint16_t bitsPerSample;
  uint16_t extraSize;
} SO_WaveFormat;
#pragma pack(pop)

typedef struct SO_BufferDesc {
  uint32_t size; /* sizeof(SO_BufferDesc) */
  uint32_t flags;
  uint32_t bufferBytes; /* 0 for the primary buffer; else a whole number of frames */
  uint32_t reserved;
  const SO_WaveFormat* format; /* NULL for the primary buffer */
  uint8_t algorithm[16];
} SO_BufferDesc;

/* Creates a device playing into output (NULL or a rate of 0: SO_ERR_NODRIVER). */
int32_t SO_CreateDevice(const SO_Output* output, SO_Device** device, void* outer);
/* Records how the program shares the device; level is one of SO_LEVEL_*. */
int32_t SO_SetCooperativeLevel(SO_Device* device, void* window, uint32_t level);
/* A primary buffer (one per device) or a secondary buffer of the described format. */
int32_t SO_CreateSoundBuffer(SO_Device* device, const SO_BufferDesc* desc, SO_Buffer** buffer, void* outer);
/* Stops the device's output; its buffers stay valid until released, but play no more. */
uint32_t SO_ReleaseDevice(SO_Device* device);

int32_t SO_Play(SO_Buffer* buffer, uint32_t reserved, uint32_t priority, uint32_t flags);
/* Halts playback; the play cursor stays where it is. */
int32_t SO_Stop(SO_Buffer* buffer);
int32_t SO_SetCurrentPosition(SO_Buffer* buffer, uint32_t position);
/* The play cursor (a byte offset, whole frames) and the write cursor (the frame after it). */
int32_t SO_GetCurrentPosition(SO_Buffer* buffer, uint32_t* playCursor, uint32_t* writeCursor);
int32_t SO_SetFrequency(SO_Buffer* buffer, uint32_t hertz);
int32_t SO_SetVolume(SO_Buffer* buffer, int32_t hundredthsOfDecibel);
/* Hands out bytes bytes from offset as one or two regions (two when they wrap past the end).
 * 0 bytes without SO_LOCK_ENTIREBUFFER is SO_ERR_INVALIDPARAM: nothing is locked. */
int32_t SO_Lock(SO_Buffer* buffer, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                void** second, uint32_t* secondBytes, uint32_t flags);
int32_t SO_Unlock(SO_Buffer* buffer, void* first, uint32_t firstBytes, void* second, uint32_t secondBytes);
uint32_t SO_ReleaseBuffer(SO_Buffer* buffer);

#ifdef __cplusplus
}
#endif

#endif
