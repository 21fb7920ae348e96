/* libqxracm: an audio compression layer that converts MPEG audio to PCM, on libmpg123. */
/*
 * A conversion stream turns blocks of a compressed source (MPEG layer 1, 2 or 3 frames,
 * tag AC_FORMAT_MPEGLAYER3) into 16-bit PCM of the destination format's rate and channels,
 * whatever rate and channels the frames themselves have. The source can be fed in blocks of
 * any size: frames that a block leaves unfinished are finished by the next, and decoded sound
 * that does not fit into one block's destination comes out with the next conversion.
 *
 * Every function is exported as a plain C symbol named "AC_" + operation, so programs load the
 * library at run time and bind each function by name. Results are AC_OK (0) or one of the
 * AC_ERR_* codes. Nothing is printed.
 */
#ifndef QXRACM_H
#define QXRACM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AC_Stream AC_Stream;

/* Results. */
#define AC_OK 0
#define AC_ERR_ERROR 1        /* unspecified error */
#define AC_ERR_INVALHANDLE 5
#define AC_ERR_NOMEM 7
#define AC_ERR_NOTSUPPORTED 8
#define AC_ERR_INVALFLAG 10
#define AC_ERR_INVALPARAM 11
#define AC_ERR_NOTPOSSIBLE 512 /* no conversion between these formats */
#define AC_ERR_BUSY 513
#define AC_ERR_UNPREPARED 514  /* the header was not prepared for this stream */

#define AC_METRIC_MAX_SIZE_FORMAT 50

#define AC_FORMAT_PCM 1
#define AC_FORMAT_MPEGLAYER3 85

#define AC_STREAMSIZE_SOURCE 0x0        /* size: from a source byte count to the largest output */
#define AC_CONVERT_BLOCKALIGN 0x4
#define AC_CONVERT_START 0x10
#define AC_CONVERT_END 0x20
#define AC_HEADER_DONE 0x10000          /* header status bits */
#define AC_HEADER_PREPARED 0x20000

#pragma pack(push, 1)
/* A wave format record, 18 bytes; a format with extra data has extraSize bytes after it. */
typedef struct AC_WaveFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
} AC_WaveFormat;

/* The MPEG layer-3 source format, 30 bytes. */
typedef struct AC_Mp3Format {
  AC_WaveFormat wave; /* tag 85, extraSize 12 */
  uint16_t id;        /* 1: MPEG */
  uint32_t flags;
  uint16_t blockSize;
  uint16_t framesPerBlock;
  uint16_t codecDelay;
} AC_Mp3Format;
#pragma pack(pop)

/* One conversion: source bytes in, destination bytes out. */
typedef struct AC_StreamHeader {
  uint32_t structSize; /* sizeof(AC_StreamHeader) */
  uint32_t status;     /* AC_HEADER_* bits */
  uintptr_t user;
  uint8_t* source;
  uint32_t sourceLength;     /* bytes to convert */
  uint32_t sourceLengthUsed; /* set by Convert */
  uintptr_t sourceUser;
  uint8_t* dest;
  uint32_t destLength;
  uint32_t destLengthUsed;   /* set by Convert */
  uintptr_t destUser;
  uint32_t reserved[10];
} AC_StreamHeader;

/* Metric AC_METRIC_MAX_SIZE_FORMAT: the largest format record, written as a uint32_t. */
int32_t AC_Metrics(void* object, uint32_t metric, void* value);
/* Opens a conversion from source to dest (16-bit PCM, 1 or 2 channels, 8,000 to 192,000 Hz). */
int32_t AC_StreamOpen(AC_Stream** stream, void* driver, const AC_WaveFormat* source, const AC_WaveFormat* dest,
                      void* filter, uintptr_t callback, uintptr_t instance, uint32_t flags);
/* With AC_STREAMSIZE_SOURCE (the only size flag): the most output bytes that one conversion of
 * inputBytes of source can give. A destination of that size never leaves sound waiting. */
int32_t AC_StreamSize(AC_Stream* stream, uint32_t inputBytes, uint32_t* outputBytes, uint32_t flags);
int32_t AC_StreamPrepareHeader(AC_Stream* stream, AC_StreamHeader* header, uint32_t flags);
/* Converts the header's source bytes, filling its destination with what is ready. */
int32_t AC_StreamConvert(AC_Stream* stream, AC_StreamHeader* header, uint32_t flags);
int32_t AC_StreamUnprepareHeader(AC_Stream* stream, AC_StreamHeader* header, uint32_t flags);
int32_t AC_StreamClose(AC_Stream* stream, uint32_t flags);

#ifdef __cplusplus
}
#endif

#endif
