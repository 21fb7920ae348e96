// Placeholder translation unit until the music player lands.
