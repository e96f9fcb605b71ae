// The DdeApi side of the model: what the server calls.
#include "DdeModel.h"

#include <algorithm>
#include <cstring>

namespace {

// Conversation states beyond ST_ISSELF, as DdeQueryConvInfo reports them.
constexpr std::uint32_t kStConnected = 0x0001;
constexpr std::uint32_t kStAdvise = 0x0002;
constexpr std::uint32_t kStIsLocal = 0x0004;

std::uintptr_t AtomOf(HSZ hsz) {
    return reinterpret_cast<std::uintptr_t>(hsz);
}

HSZ HszOf(std::uintptr_t atom) {
    return reinterpret_cast<HSZ>(atom);
}

HDDEDATA Success() {
    return reinterpret_cast<HDDEDATA>(std::uintptr_t{1});
}

} // namespace

std::uint32_t DdeModel::DdeInitializeA(std::uint32_t* instance, DdeCallback callback, std::uint32_t,
                                       std::uint32_t) {
    if (Failing(DdeOp::Initialize)) {
        return DMLERR_SYS_ERROR;
    }
    if (!instance || *instance != 0 || !callback) {
        return DMLERR_INVALIDPARAMETER;
    }
    *instance = m_nextInstance++;
    m_instances[*instance].callback = callback;
    return DMLERR_NO_ERROR;
}

HSZ DdeModel::DdeCreateStringHandleA(std::uint32_t instance, const char* text, int codePage) {
    const auto found = m_instances.find(instance);
    if (Failing(DdeOp::CreateStringHandle) || found == m_instances.end() || !text ||
        codePage != CP_WINANSI) {
        return nullptr;
    }
    const std::uintptr_t atom = m_atoms.Add(text);
    if (atom == 0) {
        return nullptr;
    }
    ++found->second.handles[atom];
    ++m_openStringHandles;
    return HszOf(atom);
}

bool DdeModel::DdeFreeStringHandle(std::uint32_t instance, HSZ hsz) {
    const auto found = m_instances.find(instance);
    if (found == m_instances.end()) {
        return false;
    }
    const auto handle = found->second.handles.find(AtomOf(hsz));
    if (handle == found->second.handles.end()) {
        return false;
    }
    if (--handle->second == 0) {
        found->second.handles.erase(handle);
    }
    m_atoms.Release(AtomOf(hsz));
    --m_openStringHandles;
    return true;
}

HDDEDATA DdeModel::DdeNameService(std::uint32_t instance, HSZ service, HSZ, std::uint32_t command) {
    const std::uintptr_t atom = AtomOf(service);
    const auto found = m_instances.find(instance);
    if (Failing(DdeOp::NameService) || found == m_instances.end()) {
        return nullptr;
    }
    std::vector<std::uintptr_t>& services = found->second.services;
    const auto registered = std::find(services.begin(), services.end(), atom);
    if (command == DNS_REGISTER) {
        if (!m_atoms.Alive(atom)) {
            return nullptr;
        }
        if (registered == services.end()) {
            m_atoms.AddRef(atom);
            services.push_back(atom);
        }
    } else if (command == DNS_UNREGISTER && atom == 0) {
        for (const std::uintptr_t each : services) {
            m_atoms.Release(each);
        }
        services.clear();
    } else if (command == DNS_UNREGISTER && registered != services.end()) {
        m_atoms.Release(atom);
        services.erase(registered);
    } else {
        return nullptr;
    }
    return Success();
}

std::uint32_t DdeModel::DdeQueryStringA(std::uint32_t instance, HSZ hsz, char* buffer,
                                        std::uint32_t size, int codePage) {
    const std::string text = m_atoms.Text(AtomOf(hsz));
    if (buffer && size > 0) {
        buffer[0] = '\0';
    }
    if (m_instances.count(instance) == 0 || codePage != CP_WINANSI) {
        return 0;
    }
    if (!buffer) {
        return static_cast<std::uint32_t>(text.size());
    }
    if (size == 0) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<std::uint32_t>(copied);
}

std::uint32_t DdeModel::DdeQueryConvInfo(HCONV hconv, std::uint32_t transaction,
                                         DdeConvInfo* info) {
    const Conversation* conversation = Connected(hconv);
    if (!conversation || transaction != QID_SYNC || !info) {
        return 0;
    }
    info->wStatus = conversation->postFailed ? kStIsLocal : kStConnected | kStIsLocal;
    if (!conversation->loops.empty()) {
        info->wStatus |= kStAdvise;
    }
    return 1;
}

bool DdeModel::DdePostAdvise(std::uint32_t instance, HSZ topic, HSZ item) {
    if (m_instances.count(instance) == 0) {
        return false;
    }
    ++m_posts;

    // Null handles stand for every topic or item.
    struct Target {
        HCONV hconv;
        Loop loop;
    };
    std::vector<Target> targets;
    for (const auto& [hconv, conversation] : m_conversations) {
        if (!conversation.connected || conversation.server != instance ||
            (topic && conversation.topic != AtomOf(topic))) {
            continue;
        }
        for (const Loop& loop : conversation.loops) {
            if (!item || loop.item == AtomOf(item)) {
                targets.push_back({hconv, loop});
            }
        }
    }
    // The callback may end conversations and loops; each target is checked before it is sent.
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const Target& target = targets[i];
        const Conversation* conversation = Connected(target.hconv);
        if (!conversation || std::none_of(conversation->loops.begin(), conversation->loops.end(),
                                          [&](const Loop& loop) {
                                              return loop.item == target.loop.item &&
                                                     loop.format == target.loop.format;
                                          })) {
            continue;
        }
        const std::string itemText = m_atoms.Text(target.loop.item);
        const HDDEDATA data =
            Send(instance, XTYP_ADVREQ, target.loop.format, target.hconv, conversation->topic,
                 target.loop.item, nullptr, targets.size() - i - 1, 0);
        std::optional<std::string> bytes = TakeData(data);
        const auto after = m_conversations.find(target.hconv);
        if (!bytes || after == m_conversations.end()) {
            continue;
        }
        if (after->second.clientGone) {
            // The data cannot reach the client: the post ends here, failed.
            after->second.postFailed = true;
            return false;
        }
        after->second.advised[DdeAtomTable::Key(itemText)].push_back(std::move(*bytes));
    }
    return true;
}

HDDEDATA DdeModel::DdeCreateDataHandle(std::uint32_t instance, const void* bytes,
                                       std::uint32_t size, std::uint32_t offset, HSZ, std::uint32_t,
                                       std::uint32_t) {
    std::string copy(size, '\0');
    if (bytes) {
        std::memcpy(copy.data(), static_cast<const char*>(bytes) + offset, size);
    }
    if (m_instances.count(instance) == 0) {
        return nullptr;
    }
    const HDDEDATA data = reinterpret_cast<HDDEDATA>(m_nextData++);
    m_data[data] = std::move(copy);
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
    const auto found = m_instances.find(instance);
    if (Failing(DdeOp::Uninitialize) || found == m_instances.end()) {
        return false;
    }
    for (auto& [hconv, conversation] : m_conversations) {
        if (conversation.connected && conversation.server == instance) {
            End(conversation);
        }
    }
    for (const std::uintptr_t service : found->second.services) {
        m_atoms.Release(service);
    }
    // DDEML frees the instance's string handles; they still count as not freed by the caller.
    for (const auto& [atom, count] : found->second.handles) {
        for (int i = 0; i < count; ++i) {
            m_atoms.Release(atom);
        }
    }
    m_instances.erase(found);
    ++m_uninitialized;
    return true;
}
