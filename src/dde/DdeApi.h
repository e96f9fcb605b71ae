// The DDEML operations the DDE server needs, behind one interface: the Windows DDEML in the
// Windows build (win32/DdeApiWin32.cpp), an in-memory model in unit tests. Arguments and results
// are those of the ANSI DDEML functions of the same names.
//
// The handle types and constants carry the Windows names and values. Windows declares the handle
// types the same way (struct HCONV__ and a pointer to it), so a file may include this header and
// <ddeml.h> in either order; a constant already defined by the Windows headers is left to them.
#pragma once

#include <cstdint>

struct HCONV__;
struct HSZ__;
struct HDDEDATA__;
typedef HCONV__* HCONV;       // one side of a conversation
typedef HSZ__* HSZ;           // a string handle (an atom: compared without regard to case)
typedef HDDEDATA__* HDDEDATA; // a data handle

// The callback DDEML calls for every transaction: type, format, conversation, string handles 1
// and 2, data handle, data 1 and 2; its result depends on the transaction type.
using DdeCallback = HDDEDATA (*)(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1,
                                 HSZ hsz2, HDDEDATA data, std::uintptr_t data1,
                                 std::uintptr_t data2);

#ifndef CF_TEXT
inline constexpr std::uint32_t CF_TEXT = 1;
#endif

#ifndef XTYP_CONNECT
inline constexpr std::uint32_t XTYP_ERROR = 0x8002;
inline constexpr std::uint32_t XTYP_ADVDATA = 0x4010;
inline constexpr std::uint32_t XTYP_ADVREQ = 0x2022;
inline constexpr std::uint32_t XTYP_ADVSTART = 0x1030;
inline constexpr std::uint32_t XTYP_ADVSTOP = 0x8040;
inline constexpr std::uint32_t XTYP_EXECUTE = 0x4050;
inline constexpr std::uint32_t XTYP_CONNECT = 0x1062;
inline constexpr std::uint32_t XTYP_CONNECT_CONFIRM = 0x8072;
inline constexpr std::uint32_t XTYP_XACT_COMPLETE = 0x8080;
inline constexpr std::uint32_t XTYP_POKE = 0x4090;
inline constexpr std::uint32_t XTYP_REGISTER = 0x80A2;
inline constexpr std::uint32_t XTYP_REQUEST = 0x20B0;
inline constexpr std::uint32_t XTYP_DISCONNECT = 0x80C2;
inline constexpr std::uint32_t XTYP_UNREGISTER = 0x80D2;
inline constexpr std::uint32_t XTYP_WILDCONNECT = 0x20E2;
inline constexpr std::uint32_t XTYP_MONITOR = 0x80F2;

inline constexpr int CP_WINANSI = 1004;
inline constexpr std::uint32_t DNS_REGISTER = 0x0001;
inline constexpr std::uint32_t DNS_UNREGISTER = 0x0002;
inline constexpr std::uint32_t QID_SYNC = 0xFFFFFFFF;
inline constexpr std::uint32_t ST_CONNECTED = 0x0001;
inline constexpr std::uint32_t ST_ISSELF = 0x0100;
inline constexpr std::uint32_t DDE_FACK = 0x8000;
inline constexpr std::uint32_t DMLERR_NO_ERROR = 0;
inline constexpr std::uint32_t DMLERR_INVALIDPARAMETER = 0x4006;
inline constexpr std::uint32_t DMLERR_SYS_ERROR = 0x400F;
#endif

// What DdeQueryConvInfo reports of a conversation: only the status flags (ST_*) are used.
struct DdeConvInfo {
    std::uint32_t wStatus = 0;
};

class DdeApi {
public:
    virtual ~DdeApi() = default;

    // DMLERR_NO_ERROR (0) on success, with *instance filled in.
    virtual std::uint32_t DdeInitializeA(std::uint32_t* instance, DdeCallback callback,
                                         std::uint32_t commands, std::uint32_t reserved) = 0;
    // A string handle, or null.
    virtual HSZ DdeCreateStringHandleA(std::uint32_t instance, const char* text, int codePage) = 0;
    virtual bool DdeFreeStringHandle(std::uint32_t instance, HSZ hsz) = 0;
    // Non-null on success.
    virtual HDDEDATA DdeNameService(std::uint32_t instance, HSZ service, HSZ reserved,
                                    std::uint32_t command) = 0;
    // The text's length without its terminating zero; with a buffer, copies at most size - 1
    // characters and the zero.
    virtual std::uint32_t DdeQueryStringA(std::uint32_t instance, HSZ hsz, char* buffer,
                                          std::uint32_t size, int codePage) = 0;
    // Non-zero on success, with info filled in.
    virtual std::uint32_t DdeQueryConvInfo(HCONV hconv, std::uint32_t transaction,
                                           DdeConvInfo* info) = 0;
    // Sends XTYP_ADVREQ to the callback, within the call, once for every advise loop on the topic
    // and item.
    virtual bool DdePostAdvise(std::uint32_t instance, HSZ topic, HSZ item) = 0;
    // A data handle, or null.
    virtual HDDEDATA DdeCreateDataHandle(std::uint32_t instance, const void* bytes,
                                         std::uint32_t size, std::uint32_t offset, HSZ item,
                                         std::uint32_t format, std::uint32_t commands) = 0;
    virtual bool DdeDisconnect(HCONV hconv) = 0;
    virtual bool DdeUninitialize(std::uint32_t instance) = 0;
};

// The platform's DDEML.
DdeApi& PlatformDdeApi();
