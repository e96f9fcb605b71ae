#include "DdeModel.h"

#include <strings.h>

namespace {

bool SameText(const std::string& left, const std::string& right) {
    return strcasecmp(left.c_str(), right.c_str()) == 0;
}

} // namespace

HSZ DdeModel::AddAtom(const std::string& text) {
    if (text.empty() || text.size() > 255) {
        return nullptr;
    }
    for (auto& [atom, entry] : m_atoms) {
        if (SameText(entry.text, text)) {
            ++entry.references;
            return atom;
        }
    }
    const HSZ atom = reinterpret_cast<HSZ>(m_nextAtom++);
    m_atoms[atom] = Atom{text, 1};
    return atom;
}

void DdeModel::ReleaseAtom(HSZ atom) {
    const auto found = m_atoms.find(atom);
    if (found != m_atoms.end() && --found->second.references == 0) {
        m_atoms.erase(found);
    }
}

std::string DdeModel::AtomText(HSZ atom) const {
    const auto found = m_atoms.find(atom);
    return found == m_atoms.end() ? std::string() : found->second.text;
}

HDDEDATA DdeModel::Send(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1, HSZ hsz2) {
    return m_callback(type, format, hconv, hsz1, hsz2, nullptr, 0, 0);
}

std::uint32_t DdeModel::DdeInitializeA(std::uint32_t* instance, DdeCallback callback, std::uint32_t,
                                       std::uint32_t) {
    if (failing.count(DdeOp::Initialize) != 0 || m_instance != 0 || !instance || !callback) {
        return DMLERR_SYS_ERROR;
    }
    m_instance = *instance = m_nextInstance++;
    m_callback = callback;
    return DMLERR_NO_ERROR;
}

HSZ DdeModel::DdeCreateStringHandleA(std::uint32_t instance, const char* text, int codePage) {
    if (failing.count(DdeOp::CreateStringHandle) != 0 || !Live(instance) || !text ||
        codePage != CP_WINANSI) {
        return nullptr;
    }
    const HSZ atom = AddAtom(text);
    m_openStringHandles += atom ? 1 : 0;
    return atom;
}

bool DdeModel::DdeFreeStringHandle(std::uint32_t instance, HSZ hsz) {
    if (!Live(instance) || m_atoms.count(hsz) == 0) {
        return false;
    }
    ReleaseAtom(hsz);
    --m_openStringHandles;
    return true;
}

HDDEDATA DdeModel::DdeNameService(std::uint32_t instance, HSZ service, HSZ, std::uint32_t command) {
    const std::string name = AtomText(service);
    if (failing.count(DdeOp::NameService) != 0 || !Live(instance) || name.empty() ||
        (command != DNS_REGISTER && command != DNS_UNREGISTER)) {
        return nullptr;
    }
    m_service = command == DNS_REGISTER ? name : std::string();
    return reinterpret_cast<HDDEDATA>(std::uintptr_t{1});
}

std::uint32_t DdeModel::DdeQueryStringA(std::uint32_t instance, HSZ hsz, char* buffer,
                                        std::uint32_t size, int codePage) {
    const std::string text = AtomText(hsz);
    if (!Live(instance) || codePage != CP_WINANSI) {
        return 0;
    }
    if (!buffer || size == 0) {
        return static_cast<std::uint32_t>(text.size());
    }
    const std::size_t copied = text.copy(buffer, size - 1);
    buffer[copied] = '\0';
    return static_cast<std::uint32_t>(copied);
}

std::uint32_t DdeModel::DdeQueryConvInfo(HCONV hconv, std::uint32_t transaction,
                                         DdeConvInfo* info) {
    const Conversation* conversation = Connected(hconv);
    if (!conversation || transaction != QID_SYNC || !info) {
        return 0;
    }
    info->wStatus = conversation->postFailed ? 0 : ST_CONNECTED;
    return 1;
}

bool DdeModel::DdePostAdvise(std::uint32_t instance, HSZ topic, HSZ item) {
    if (!Live(instance)) {
        return false;
    }
    ++m_posts;
    // The callback ends no loop other than by ending its conversation, which leaves it none.
    for (auto& [hconv, conversation] : m_conversations) {
        std::vector<Loop>& loops = conversation.loops;
        for (std::size_t i = 0; conversation.topic == topic && i < loops.size(); ++i) {
            if (loops[i].item != item) {
                continue;
            }
            std::optional<std::string> bytes =
                TakeData(Send(XTYP_ADVREQ, loops[i].format, hconv, topic, item));
            if (bytes && conversation.clientGone) {
                // The data cannot reach the client: the post ends here, failed.
                conversation.postFailed = true;
                return false;
            }
            if (bytes && i < loops.size()) {
                loops[i].advised.push_back(std::move(*bytes));
            }
        }
    }
    return true;
}

HDDEDATA DdeModel::DdeCreateDataHandle(std::uint32_t instance, const void* bytes,
                                       std::uint32_t size, std::uint32_t offset, HSZ, std::uint32_t,
                                       std::uint32_t) {
    if (!Live(instance)) {
        return nullptr;
    }
    const HDDEDATA data = reinterpret_cast<HDDEDATA>(m_nextData++);
    m_data[data] = std::string(static_cast<const char*>(bytes) + offset, size);
    return data;
}

bool DdeModel::DdeDisconnect(HCONV hconv) {
    Conversation* conversation = Connected(hconv);
    if (!conversation || conversation->postFailed) {
        return false;
    }
    End(*conversation);
    return true;
}

bool DdeModel::DdeUninitialize(std::uint32_t instance) {
    if (failing.count(DdeOp::Uninitialize) != 0 || !Live(instance)) {
        return false;
    }
    for (auto& [hconv, conversation] : m_conversations) {
        if (conversation.connected) {
            End(conversation);
        }
    }
    m_instance = 0;
    m_service.clear();
    return true;
}

HCONV DdeModel::Connect(const std::string& service, const std::string& topic, HCONV reuse) {
    const HSZ serviceAtom = AddAtom(service);
    const HSZ topicAtom = AddAtom(topic);
    if (!SameText(m_service, service) || !Send(XTYP_CONNECT, 0, nullptr, topicAtom, serviceAtom)) {
        ReleaseAtom(serviceAtom);
        ReleaseAtom(topicAtom);
        return nullptr;
    }
    if (Conversation* old = Connected(reuse)) {
        End(*old);
    }
    HCONV hconv = reuse;
    if (!hconv) {
        hconv = reinterpret_cast<HCONV>(m_nextConversation);
        m_nextConversation += 0x10;
    }
    m_conversations[hconv] = Conversation{topicAtom, serviceAtom};
    Send(XTYP_CONNECT_CONFIRM, 0, hconv, topicAtom, serviceAtom);
    return hconv;
}

// A client transaction on an item; the item's atom lives through the call.
HDDEDATA DdeModel::Transact(HCONV hconv, std::uint32_t type, std::uint32_t format,
                            const std::string& item) {
    const Conversation* conversation = Connected(hconv);
    const HSZ atom = conversation ? AddAtom(item) : nullptr;
    if (!atom) {
        return nullptr;
    }
    const HDDEDATA result = Send(type, format, hconv, conversation->topic, atom);
    ReleaseAtom(atom);
    return result;
}

std::optional<std::string> DdeModel::Request(HCONV hconv, const std::string& item) {
    return TakeData(Transact(hconv, XTYP_REQUEST, CF_TEXT, item));
}

bool DdeModel::StartAdvise(HCONV hconv, const std::string& item, std::uint32_t format) {
    if (!Transact(hconv, XTYP_ADVSTART, format, item)) {
        return false;
    }
    // The callback may have ended the conversation.
    Conversation* conversation = Connected(hconv);
    if (!conversation) {
        return false;
    }
    const HSZ atom = AddAtom(item);
    for (const Loop& loop : conversation->loops) {
        if (loop.item == atom && loop.format == format) {
            ReleaseAtom(atom);
            return true;
        }
    }
    conversation->loops.push_back(Loop{atom, format, {}});
    return true;
}

std::uint32_t DdeModel::Poke(HCONV hconv, const std::string& item) {
    return static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(Transact(hconv, XTYP_POKE, CF_TEXT, item)));
}

void DdeModel::Disconnect(HCONV hconv) {
    if (Conversation* conversation = Connected(hconv)) {
        End(*conversation);
        Send(XTYP_DISCONNECT, 0, hconv, nullptr, nullptr);
    }
}

void DdeModel::Vanish(HCONV hconv) {
    if (Conversation* conversation = Connected(hconv)) {
        conversation->clientGone = true;
    }
}

std::vector<std::string> DdeModel::Advised(HCONV hconv, const std::string& item) const {
    const auto found = m_conversations.find(hconv);
    if (found != m_conversations.end()) {
        for (const Loop& loop : found->second.loops) {
            if (SameText(AtomText(loop.item), item)) {
                return loop.advised;
            }
        }
    }
    return {};
}

std::optional<std::string> DdeModel::TakeData(HDDEDATA data) {
    auto taken = m_data.extract(data);
    return taken ? std::optional<std::string>(std::move(taken.mapped())) : std::nullopt;
}

DdeModel::Conversation* DdeModel::Connected(HCONV hconv) {
    const auto found = m_conversations.find(hconv);
    return found != m_conversations.end() && found->second.connected ? &found->second : nullptr;
}

void DdeModel::End(Conversation& conversation) {
    for (const Loop& loop : conversation.loops) {
        ReleaseAtom(loop.item);
    }
    conversation.loops.clear();
    ReleaseAtom(conversation.topic);
    ReleaseAtom(conversation.service);
    conversation.connected = false;
}
