#pragma once
// The saved picture of the graph window: an uncompressed 24-bit BMP file.

#include <string>

// The file's bytes for a picture of width x height pixels given as RGB
// triples, top row first: a 14-byte file header, a 40-byte information
// header, then the rows bottom to top, each padded to a multiple of 4 bytes.
std::string EncodeBmp24(int width, int height, const unsigned char* rgbTopDown);
