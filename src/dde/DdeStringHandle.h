// A DDEML string handle that frees itself. DDEML needs the creating instance to free a handle,
// so the wrapper keeps the instance id beside it.
#pragma once

#include "DdeApi.h"

#include <cstdint>
#include <string>

class DdeStringHandle {
public:
    // Creates the handle for text in the Windows ANSI code page; the handle is null when DDEML
    // refuses.
    DdeStringHandle(DdeApi& api, std::uint32_t instance, const std::string& text);
    ~DdeStringHandle();

    DdeStringHandle(DdeStringHandle&& other) noexcept;
    DdeStringHandle& operator=(DdeStringHandle&& other) noexcept;
    DdeStringHandle(const DdeStringHandle&) = delete;
    DdeStringHandle& operator=(const DdeStringHandle&) = delete;

    HSZ Get() const { return m_hsz; }
    explicit operator bool() const { return m_hsz != nullptr; }

private:
    void Free();

    DdeApi* m_api;
    std::uint32_t m_instance;
    HSZ m_hsz;
};
