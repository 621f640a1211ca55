#pragma once
// Writing to a file descriptor without losing bytes to short writes or
// interrupted calls.

#include <cstddef>

// Writes all size bytes of data to fd; false on the first error.
bool WriteAll(int fd, const char* data, std::size_t size);
