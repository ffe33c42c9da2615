// The control words of rich text as the reader sees them, and which destinations it skips.
#pragma once

#include <cstring>

namespace vorla::rtf {

// A control word: letters, then an optional signed number.
struct Word {
    char name[33] = {};
    bool hasParam = false;
    int param = 0;
};

// True when the word is `name`.
inline bool Is(const Word& w, const char* name) {
    return w.name[0] == name[0] && std::strcmp(w.name, name) == 0;
}

// Destinations whose text is not shown. A group that starts with "\*" is skipped as well.
bool IsSkippedDestination(const Word& w);

}  // namespace vorla::rtf
