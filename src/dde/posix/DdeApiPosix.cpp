// POSIX: there is no DDEML. Initialisation fails, so a DDE service never starts; the other
// operations fail as DDEML's do for an instance that does not exist.
#include "../DdeApi.h"

namespace {

class UnavailableDdeApi final : public DdeApi {
public:
    std::uint32_t DdeInitializeA(std::uint32_t*, DdeCallback, std::uint32_t,
                                 std::uint32_t) override {
        return DMLERR_SYS_ERROR;
    }
    HSZ DdeCreateStringHandleA(std::uint32_t, const char*, int) override { return nullptr; }
    bool DdeFreeStringHandle(std::uint32_t, HSZ) override { return false; }
    HDDEDATA DdeNameService(std::uint32_t, HSZ, HSZ, std::uint32_t) override { return nullptr; }
    std::uint32_t DdeQueryStringA(std::uint32_t, HSZ, char* buffer, std::uint32_t size,
                                  int) override {
        if (buffer && size > 0) {
            buffer[0] = '\0';
        }
        return 0;
    }
    std::uint32_t DdeQueryConvInfo(HCONV, std::uint32_t, DdeConvInfo*) override { return 0; }
    bool DdePostAdvise(std::uint32_t, HSZ, HSZ) override { return false; }
    HDDEDATA DdeCreateDataHandle(std::uint32_t, const void*, std::uint32_t, std::uint32_t, HSZ,
                                 std::uint32_t, std::uint32_t) override {
        return nullptr;
    }
    bool DdeDisconnect(HCONV) override { return false; }
    bool DdeUninitialize(std::uint32_t) override { return false; }
};

} // namespace

DdeApi& PlatformDdeApi() {
    static UnavailableDdeApi api;
    return api;
}
