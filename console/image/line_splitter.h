#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Cuts text that arrives in chunks into lines, terminators ("\n" or "\r\n") removed, the way a
// text stream reads them: a last line without terminator counts, a final terminator opens no
// empty line. Lines that lie inside one chunk are handed on without copying. A line longer than
// the limit is handed on cut to the limit and flagged, so a hostile file cannot make it grow
// without bound.
class LineSplitter {
public:
    // The line, its length (at most the limit) and whether it was longer than the limit.
    // Returning false stops the splitting; later input is ignored.
    using LineHandler = std::function<bool(const char* text, size_t size, bool cut)>;

    explicit LineSplitter(LineHandler handler, size_t lineLimit = kDefaultLineLimit);

    // False once the handler has stopped the splitting.
    bool Feed(const char* text, size_t size);
    // Hands on the last line when it has no terminator.
    bool Finish();

    static constexpr size_t kDefaultLineLimit = 64 * 1024;

private:
    bool Deliver(const char* text, size_t size, bool cut);
    void Carry(const char* text, size_t size);

    LineHandler handler_;
    size_t lineLimit_;
    std::string carry_;      // start of a line that continues in the next chunk
    bool carryCut_ = false;  // that line is longer than the limit
    bool stopped_ = false;
};
