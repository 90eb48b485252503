// What every fuzz target shares: a program folder of its own under the
// temporary folder, the data layer's messages silenced, and a way to write
// the input's parts as files there.
#ifndef FUZZHOME_H
#define FUZZHOME_H

#include <cstddef>
#include <cstdint>
#include <string>

// The program folder (created once, with data/); ends in a separator.
const std::string& FuzzHome();
void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size);

// Takes a part of the input: a 16-bit little-endian length, then that many
// bytes (fewer when the input ends); advances data and size.
std::string TakePart(const uint8_t*& data, size_t& size);

#endif
