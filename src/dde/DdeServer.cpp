#include "DdeServer.h"

#include "DataSupplier.h"
#include "Kolvane.h"

#include <clocale>

DdeServer* DdeServer::s_singleton = nullptr;

DdeServer::DdeServer(DdeApi& api, MessageQueue& queue, DataSupplier* supplier,
                     SettingsSource settings)
    : m_queue(queue), m_supplier(supplier), m_dde(api), m_settings(std::move(settings)) {
    KOLVANE_ASSERT(!s_singleton);
    s_singleton = this;
    std::setlocale(LC_ALL, "");
}

DdeServer::~DdeServer() {
    if (m_dde.Id() != 0 && !m_dde.ServiceName().empty()) {
        Stop();
    }
    s_singleton = nullptr;
}

bool DdeServer::Start() {
    if (!m_supplier->Connect(m_settings())) {
        return false;
    }
    if (!m_dde.Initialize(&DdeServer::__DdeCallback, ZANVO_SERVICE)) {
        KOLVANE_LOG(this, "DDE initialize failed\n");
        m_supplier->Disconnect();
        return false;
    }
    return true;
}

bool DdeServer::Stop() {
    CloseAllConversations(true);
    m_adviseNames.clear();
    m_servedTexts.clear();
    m_withData.clear();
    m_gone.clear();
    m_closing.clear();
    if (!m_dde.Uninitialize()) {
        KOLVANE_LOG(this, "DDE uninitialize failed\n");
        return false;
    }
    m_supplier->Disconnect();
    return true;
}
