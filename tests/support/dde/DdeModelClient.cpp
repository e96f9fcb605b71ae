// The model's client side and its bookkeeping: what a test does as the server's partner.
#include "DdeModel.h"

#include <algorithm>

namespace {

HSZ HszOf(std::uintptr_t atom) {
    return reinterpret_cast<HSZ>(atom);
}

// Poked and executed data: a handle of the client's, which the server only passes around.
HDDEDATA ClientData() {
    return reinterpret_cast<HDDEDATA>(std::uintptr_t{0x1F000});
}

} // namespace

void DdeModel::SetFailing(DdeOp op, bool failing) {
    std::erase(m_failing, op);
    if (failing) {
        m_failing.push_back(op);
    }
}

bool DdeModel::Failing(DdeOp op) const {
    return std::find(m_failing.begin(), m_failing.end(), op) != m_failing.end();
}

bool DdeModel::IsRegistered(const std::string& service) const {
    const std::uintptr_t atom = m_atoms.Find(service);
    return atom != 0 && std::any_of(m_instances.begin(), m_instances.end(), [&](const auto& each) {
               const std::vector<std::uintptr_t>& services = each.second.services;
               return std::find(services.begin(), services.end(), atom) != services.end();
           });
}

HDDEDATA DdeModel::Send(std::uint32_t instance, std::uint32_t type, std::uint32_t format,
                        HCONV hconv, std::uintptr_t hsz1, std::uintptr_t hsz2, HDDEDATA data,
                        std::uintptr_t data1, std::uintptr_t data2) {
    const auto found = m_instances.find(instance);
    if (found == m_instances.end()) {
        return nullptr;
    }
    return found->second.callback(type, format, hconv, HszOf(hsz1), HszOf(hsz2), data, data1,
                                  data2);
}

std::optional<std::string> DdeModel::TakeData(HDDEDATA data) {
    const auto found = m_data.find(data);
    if (found == m_data.end()) {
        return std::nullopt;
    }
    std::string bytes = std::move(found->second);
    m_data.erase(found);
    return bytes;
}

DdeModel::Conversation* DdeModel::Connected(HCONV hconv) {
    const auto found = m_conversations.find(hconv);
    return found != m_conversations.end() && found->second.connected ? &found->second : nullptr;
}

void DdeModel::End(Conversation& conversation) {
    for (const Loop& loop : conversation.loops) {
        m_atoms.Release(loop.item);
    }
    conversation.loops.clear();
    m_atoms.Release(conversation.topic);
    m_atoms.Release(conversation.service);
    conversation.connected = false;
}

void DdeModel::Vanish(HCONV hconv) {
    if (Conversation* conversation = Connected(hconv)) {
        conversation->clientGone = true;
    }
}

bool DdeModel::IsConnected(HCONV hconv) const {
    const auto found = m_conversations.find(hconv);
    return found != m_conversations.end() && found->second.connected;
}

std::vector<std::string> DdeModel::Advised(HCONV hconv, const std::string& item) const {
    const auto found = m_conversations.find(hconv);
    if (found == m_conversations.end()) {
        return {};
    }
    const auto advised = found->second.advised.find(DdeAtomTable::Key(item));
    return advised == found->second.advised.end() ? std::vector<std::string>() : advised->second;
}

HCONV DdeModel::Connect(const std::string& service, const std::string& topic, HCONV reuse) {
    const std::uintptr_t serviceAtom = m_atoms.Add(service);
    const std::uintptr_t topicAtom = m_atoms.Add(topic);
    std::vector<std::uint32_t> servers;
    for (const auto& [id, instance] : m_instances) {
        if (std::find(instance.services.begin(), instance.services.end(), serviceAtom) !=
            instance.services.end()) {
            servers.push_back(id);
        }
    }
    for (const std::uint32_t server : servers) {
        if (!Send(server, XTYP_CONNECT, 0, nullptr, topicAtom, serviceAtom, nullptr, 0, 0)) {
            continue;
        }
        // The conversation keeps the client's references to its topic and service.
        HCONV hconv = reuse;
        if (Conversation* old = Connected(reuse)) {
            End(*old);
        }
        if (!hconv) {
            hconv = reinterpret_cast<HCONV>(m_nextConversation);
            m_nextConversation += 0x10;
        }
        m_conversations[hconv] = Conversation{server, topicAtom, serviceAtom};
        Send(server, XTYP_CONNECT_CONFIRM, 0, hconv, topicAtom, serviceAtom, nullptr, 0, 0);
        return hconv;
    }
    m_atoms.Release(serviceAtom);
    m_atoms.Release(topicAtom);
    return nullptr;
}

std::optional<std::string> DdeModel::Request(HCONV hconv, const std::string& item,
                                             std::uint32_t format) {
    const Conversation* conversation = Connected(hconv);
    const std::uintptr_t itemAtom = conversation ? m_atoms.Add(item) : 0;
    if (itemAtom == 0) {
        return std::nullopt;
    }
    const HDDEDATA data = Send(conversation->server, XTYP_REQUEST, format, hconv,
                               conversation->topic, itemAtom, nullptr, 0, 0);
    m_atoms.Release(itemAtom);
    return TakeData(data);
}

bool DdeModel::StartAdvise(HCONV hconv, const std::string& item, std::uint32_t format) {
    const Conversation* conversation = Connected(hconv);
    const std::uintptr_t itemAtom = conversation ? m_atoms.Add(item) : 0;
    if (itemAtom == 0) {
        return false;
    }
    const bool started = Send(conversation->server, XTYP_ADVSTART, format, hconv,
                              conversation->topic, itemAtom, nullptr, 0, 0) != nullptr;
    // The loop holds the item's atom; the callback may have ended the conversation.
    Conversation* after = Connected(hconv);
    const bool running =
        after && std::any_of(after->loops.begin(), after->loops.end(), [&](const Loop& loop) {
            return loop.item == itemAtom && loop.format == format;
        });
    if (started && after && !running) {
        after->loops.push_back(Loop{itemAtom, format});
    } else {
        m_atoms.Release(itemAtom);
    }
    return started && after;
}

std::uint32_t DdeModel::Poke(HCONV hconv, const std::string& item, std::uint32_t format) {
    const Conversation* conversation = Connected(hconv);
    const std::uintptr_t itemAtom = conversation ? m_atoms.Add(item) : 0;
    if (itemAtom == 0) {
        return 0;
    }
    const HDDEDATA result = Send(conversation->server, XTYP_POKE, format, hconv,
                                 conversation->topic, itemAtom, ClientData(), 0, 0);
    m_atoms.Release(itemAtom);
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(result));
}

void DdeModel::Disconnect(HCONV hconv) {
    Conversation* conversation = Connected(hconv);
    if (!conversation) {
        return;
    }
    const std::uint32_t server = conversation->server;
    End(*conversation);
    Send(server, XTYP_DISCONNECT, 0, hconv, 0, 0, nullptr, 0, 0);
}
