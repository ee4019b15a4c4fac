#pragma once

#include <string>

// The text after the last "/" of a path, or the whole path when it holds none.
std::string FileNameOf(const std::string& path);

// The last length characters with ASCII letters upper-cased, whatever the user's locale; empty
// when the text is shorter.
std::string UpperEnding(const std::string& text, size_t length);

// The last three characters upper-cased; empty when the text is shorter. No dot is looked for,
// so "image.hex", "IMAGE.HEX" and "imagehex" all end in HEX.
std::string ExtensionOf(const std::string& text);

// True when the path names a file this program reads: extension HEX or BIN.
bool IsValidFileName(const std::string& path);
