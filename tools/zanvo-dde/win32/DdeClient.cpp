// Win32: the DDEML client of zanvo-dde.
#include "DdeClient.h"

#include <vector>

DdeClient::Listener* DdeClient::s_listener = nullptr;

namespace {

// A string handle of the client's instance.
class StringHandle {
public:
    StringHandle(DWORD instance, const std::string& text)
        : m_instance(instance), m_hsz(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
    ~StringHandle() {
        if (m_hsz) {
            DdeFreeStringHandle(m_instance, m_hsz);
        }
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;

    HSZ Get() const { return m_hsz; }

private:
    DWORD m_instance;
    HSZ m_hsz;
};

// The text of a data handle: its bytes up to the first zero.
std::string TextOf(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::vector<char> bytes(size + 1, '\0');
    DdeGetData(data, reinterpret_cast<BYTE*>(bytes.data()), size, 0);
    return std::string(bytes.data());
}

} // namespace

void DdeClient::SetListener(Listener* listener) {
    s_listener = listener;
}

DdeClient::DdeClient() {
    if (DdeInitializeA(&m_instance, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        m_instance = 0;
    }
}

DdeClient::~DdeClient() {
    if (m_instance != 0) {
        DdeUninitialize(m_instance);
    }
}

HCONV DdeClient::Connect(const std::string& service, const std::string& topic) {
    const StringHandle serviceName(m_instance, service);
    const StringHandle topicName(m_instance, topic);
    if (!serviceName.Get() || !topicName.Get()) {
        return nullptr;
    }
    return DdeConnect(m_instance, serviceName.Get(), topicName.Get(), nullptr);
}

void DdeClient::Disconnect(HCONV hconv) {
    DdeDisconnect(hconv);
}

bool DdeClient::Connected(HCONV hconv) {
    CONVINFO info{};
    info.cb = sizeof info;
    return DdeQueryConvInfo(hconv, QID_SYNC, &info) != 0 && (info.wStatus & ST_CONNECTED) != 0;
}

Outcome DdeClient::Request(HCONV hconv, const std::string& item, DWORD timeoutMs,
                           std::string* text) {
    return Transact(hconv, item, XTYP_REQUEST, timeoutMs, nullptr, text);
}

Outcome DdeClient::StartAdvise(HCONV hconv, const std::string& item, DWORD timeoutMs) {
    return Transact(hconv, item, XTYP_ADVSTART, timeoutMs, nullptr, nullptr);
}

Outcome DdeClient::StopAdvise(HCONV hconv, const std::string& item, DWORD timeoutMs) {
    return Transact(hconv, item, XTYP_ADVSTOP, timeoutMs, nullptr, nullptr);
}

Outcome DdeClient::Poke(HCONV hconv, const std::string& item, const std::string& data,
                        DWORD timeoutMs) {
    return Transact(hconv, item, XTYP_POKE, timeoutMs, &data, nullptr);
}

Outcome DdeClient::Transact(HCONV hconv, const std::string& item, UINT type, DWORD timeoutMs,
                            const std::string* data, std::string* text) {
    const StringHandle itemName(m_instance, item);
    if (!itemName.Get()) {
        return Outcome::failed;
    }
    // Poked text travels with its terminating zero, as CF_TEXT data does.
    BYTE* bytes = data ? reinterpret_cast<BYTE*>(const_cast<char*>(data->c_str())) : nullptr;
    const DWORD size = data ? static_cast<DWORD>(data->size() + 1) : 0;
    const HDDEDATA result =
        DdeClientTransaction(bytes, size, hconv, itemName.Get(), CF_TEXT, type, timeoutMs, nullptr);
    if (!result) {
        switch (DdeGetLastError(m_instance)) {
        case DMLERR_NOTPROCESSED:
            return Outcome::refused;
        case DMLERR_ADVACKTIMEOUT:
        case DMLERR_DATAACKTIMEOUT:
        case DMLERR_POKEACKTIMEOUT:
        case DMLERR_EXECACKTIMEOUT:
        case DMLERR_UNADVACKTIMEOUT:
            return Outcome::timeout;
        default:
            return Outcome::failed;
        }
    }
    if (type == XTYP_REQUEST) {
        *text = TextOf(result);
        DdeFreeDataHandle(result);
    }
    return Outcome::done;
}

HDDEDATA CALLBACK DdeClient::Callback(UINT type, UINT, HCONV hconv, HSZ, HSZ, HDDEDATA data,
                                      ULONG_PTR, ULONG_PTR) {
    Listener* listener = s_listener;
    switch (type) {
    case XTYP_ADVDATA:
        // The conversation names the item: under Wine, several loops on one item share an item
        // atom that may be gone by the later messages.
        if (listener && data) {
            listener->OnAdviseData(hconv, TextOf(data));
        }
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_DISCONNECT:
        if (listener) {
            listener->OnDisconnected(hconv);
        }
        return nullptr;
    default:
        return nullptr;
    }
}
