#pragma once

#include <cstdint>

// Results of every reader and writer of FileOperation.
constexpr int32_t FILE_OPERATION_SUCCESS = 0;
constexpr int32_t FILE_OPEN_NOT_FOUND_ERROR = 1; // the file to read does not exist
constexpr int32_t FILE_OPEN_EMPTY_ERROR = 2;       // no data, or the file cannot be opened for reading
constexpr int32_t FILE_OPEN_FORMAT_ERROR = 3;      // wrong extension, malformed content, internal failure
constexpr int32_t FILE_SAVE_NOT_FOUND_ERROR = 4; // the file to write cannot be created
constexpr int32_t FILE_SAVE_FORMAT_ERROR = 5;      // wrong extension for the writer, internal failure
