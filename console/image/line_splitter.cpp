#include "line_splitter.h"

#include <algorithm>
#include <cstring>
#include <utility>

LineSplitter::LineSplitter(LineHandler handler, size_t lineLimit)
    : handler_(std::move(handler)), lineLimit_(lineLimit)
{
}

bool LineSplitter::Deliver(const char* text, size_t size, bool cut)
{
    if (size > 0 && text[size - 1] == '\r' && !cut)
        --size;
    if (size > lineLimit_) {
        size = lineLimit_;
        cut = true;
    }
    if (!handler_(text, size, cut))
        stopped_ = true;
    return !stopped_;
}

void LineSplitter::Carry(const char* text, size_t size)
{
    const size_t room = lineLimit_ + 1 - std::min(carry_.size(), lineLimit_ + 1); // +1 keeps a '\r'
    if (size > room) {
        carryCut_ = true;
        size = room;
    }
    carry_.append(text, size);
}

bool LineSplitter::Feed(const char* text, size_t size)
{
    const char* end = text + size;
    while (!stopped_ && text < end) {
        const auto* newline = static_cast<const char*>(std::memchr(text, '\n', static_cast<size_t>(end - text)));
        if (!newline) {
            Carry(text, static_cast<size_t>(end - text));
            break;
        }
        const auto length = static_cast<size_t>(newline - text);
        if (carry_.empty() && !carryCut_) {
            Deliver(text, length, false);
        } else {
            Carry(text, length);
            std::string line;
            line.swap(carry_);
            const bool cut = carryCut_;
            carryCut_ = false;
            Deliver(line.data(), line.size(), cut);
        }
        text = newline + 1;
    }
    return !stopped_;
}

bool LineSplitter::Finish()
{
    if (stopped_ || (carry_.empty() && !carryCut_))
        return !stopped_;
    std::string line;
    line.swap(carry_);
    const bool cut = carryCut_;
    carryCut_ = false;
    return Deliver(line.data(), line.size(), cut);
}
