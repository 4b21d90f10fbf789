// The GIF decoder of commit e733321, built into gifbench under names of its own.
#pragma once

// Decodes the file with that decoder; returns the pixels of all frames, 0 when it fails.
double DecodeE733321(const char* path);
