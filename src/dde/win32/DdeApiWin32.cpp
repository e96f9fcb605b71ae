// Win32: the DDE operations are user32's DDEML, ANSI forms.
#include "../DdeApi.h"

#include <type_traits>

// The constants of DdeApi.h, taken before <ddeml.h> turns their names into its macros.
namespace {
constexpr std::uint32_t kOurTypes[] = {
    XTYP_ERROR,         XTYP_ADVDATA,    XTYP_ADVREQ,      XTYP_ADVSTART,
    XTYP_ADVSTOP,       XTYP_EXECUTE,    XTYP_CONNECT,     XTYP_CONNECT_CONFIRM,
    XTYP_XACT_COMPLETE, XTYP_POKE,       XTYP_REGISTER,    XTYP_REQUEST,
    XTYP_DISCONNECT,    XTYP_UNREGISTER, XTYP_WILDCONNECT, XTYP_MONITOR};
constexpr std::uint32_t kOurOthers[] = {
    CF_TEXT,   CP_WINANSI, DNS_REGISTER,    DNS_UNREGISTER,          QID_SYNC,        ST_CONNECTED,
    ST_ISSELF, DDE_FACK,   DMLERR_NO_ERROR, DMLERR_INVALIDPARAMETER, DMLERR_SYS_ERROR};
} // namespace

#include <windows.h>

#include <ddeml.h>

static_assert(kOurTypes[0] == XTYP_ERROR && kOurTypes[1] == XTYP_ADVDATA &&
              kOurTypes[2] == XTYP_ADVREQ && kOurTypes[3] == XTYP_ADVSTART &&
              kOurTypes[4] == XTYP_ADVSTOP && kOurTypes[5] == XTYP_EXECUTE &&
              kOurTypes[6] == XTYP_CONNECT && kOurTypes[7] == XTYP_CONNECT_CONFIRM &&
              kOurTypes[8] == XTYP_XACT_COMPLETE && kOurTypes[9] == XTYP_POKE &&
              kOurTypes[10] == XTYP_REGISTER && kOurTypes[11] == XTYP_REQUEST &&
              kOurTypes[12] == XTYP_DISCONNECT && kOurTypes[13] == XTYP_UNREGISTER &&
              kOurTypes[14] == XTYP_WILDCONNECT && kOurTypes[15] == XTYP_MONITOR);
static_assert(kOurOthers[0] == CF_TEXT && kOurOthers[1] == CP_WINANSI &&
              kOurOthers[2] == DNS_REGISTER && kOurOthers[3] == DNS_UNREGISTER &&
              kOurOthers[4] == QID_SYNC && kOurOthers[5] == ST_CONNECTED &&
              kOurOthers[6] == ST_ISSELF && kOurOthers[7] == DDE_FACK &&
              kOurOthers[8] == DMLERR_NO_ERROR && kOurOthers[9] == DMLERR_INVALIDPARAMETER &&
              kOurOthers[10] == DMLERR_SYS_ERROR);
// On x86_64 there is one calling convention, so our callback is DDEML's.
static_assert(std::is_same_v<DdeCallback, PFNCALLBACK>);

namespace {

class Win32DdeApi final : public DdeApi {
public:
    std::uint32_t DdeInitializeA(std::uint32_t* instance, DdeCallback callback,
                                 std::uint32_t commands, std::uint32_t reserved) override {
        DWORD id = *instance;
        const UINT result = ::DdeInitializeA(&id, callback, commands, reserved);
        *instance = id;
        return result;
    }

    HSZ DdeCreateStringHandleA(std::uint32_t instance, const char* text, int codePage) override {
        return ::DdeCreateStringHandleA(instance, text, codePage);
    }

    bool DdeFreeStringHandle(std::uint32_t instance, HSZ hsz) override {
        return ::DdeFreeStringHandle(instance, hsz) != FALSE;
    }

    HDDEDATA DdeNameService(std::uint32_t instance, HSZ service, HSZ reserved,
                            std::uint32_t command) override {
        return ::DdeNameService(instance, service, reserved, command);
    }

    std::uint32_t DdeQueryStringA(std::uint32_t instance, HSZ hsz, char* buffer, std::uint32_t size,
                                  int codePage) override {
        return ::DdeQueryStringA(instance, hsz, buffer, size, codePage);
    }

    std::uint32_t DdeQueryConvInfo(HCONV hconv, std::uint32_t transaction,
                                   DdeConvInfo* info) override {
        CONVINFO convInfo{};
        convInfo.cb = sizeof convInfo;
        const UINT result = ::DdeQueryConvInfo(hconv, transaction, &convInfo);
        if (result != 0) {
            info->wStatus = convInfo.wStatus;
        }
        return result;
    }

    bool DdePostAdvise(std::uint32_t instance, HSZ topic, HSZ item) override {
        return ::DdePostAdvise(instance, topic, item) != FALSE;
    }

    HDDEDATA DdeCreateDataHandle(std::uint32_t instance, const void* bytes, std::uint32_t size,
                                 std::uint32_t offset, HSZ item, std::uint32_t format,
                                 std::uint32_t commands) override {
        // DDEML copies the bytes; it only lacks the const.
        return ::DdeCreateDataHandle(instance, static_cast<BYTE*>(const_cast<void*>(bytes)), size,
                                     offset, item, format, commands);
    }

    bool DdeDisconnect(HCONV hconv) override { return ::DdeDisconnect(hconv) != FALSE; }

    bool DdeUninitialize(std::uint32_t instance) override {
        return ::DdeUninitialize(instance) != FALSE;
    }
};

} // namespace

DdeApi& PlatformDdeApi() {
    static Win32DdeApi api;
    return api;
}
