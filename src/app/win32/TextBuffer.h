// Win32: a text that Win32 calls write into, sized up front and cut at the terminating zero after
// the call.
#pragma once

#include <cstring>
#include <string>

class TextBuffer {
public:
    // A writable buffer of length characters plus the terminating zero.
    char* GetBufferSetLength(int length) {
        m_text.assign(static_cast<std::size_t>(length), '\0');
        return m_text.data();
    }
    // Cuts the text at the first zero written into the buffer.
    const std::string& ReleaseBuffer() {
        m_text.resize(std::strlen(m_text.c_str()));
        return m_text;
    }

private:
    std::string m_text;
};
