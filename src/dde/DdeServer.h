// The DDE service "Zanvo": it accepts conversations on the topics "Bars", "Snapshot" and "TS",
// turns the first request for an item into a subscription at the data supplier and a text builder,
// and pushes every update of the subscription to the item's advise loops. One server per process;
// everything runs on the thread that calls Start.
#pragma once

#include "ConnectionSettings.h"
#include "DdeApi.h"
#include "DdeInstance.h"
#include "DdeKey.h"
#include "DdeStringHandle.h"
#include "DdeTopics.h"
#include "IDataListener.h"
#include "TextBuilder.h"
#include "TopicItems.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class DataSupplier;
class Mondrel;
class MessageQueue;

class DdeServer final : public IDataListener {
public:
    // Where Start and a reconnection take the settings they connect the supplier with.
    using SettingsSource = std::function<ConnectionSettings()>;

    // Serves through api, posting later work to queue (both outlive the server). Selects the
    // user's default locale for every category of the runtime library, so that all served
    // numbers, dates and times follow the user's regional settings.
    DdeServer(DdeApi& api, MessageQueue& queue, DataSupplier* supplier, SettingsSource settings);
    // Stops a started server first.
    ~DdeServer();
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    // Connects the supplier and registers the service name.
    bool Start();
    // Ends every conversation and subscription, unregisters the service and disconnects the
    // supplier. True only when no DDE instance is left in use.
    bool Stop();

    // IDataListener
    void OnProcessingBarData(IBarSet* const& barSet, const BarInfo& info) override;
    void OnProcessingTickData(ITickSet* const& tickSet, const TickInfo& info) override;
    void OnProcessingSnapData(const QuoteKey& key, const SnapshotInfo& info) override;

    // Drops every topic and creates it anew from the item strings the clients sent, optionally
    // reconnecting the supplier in between; the conversations and advise loops stay open. False
    // when the supplier could not connect, or when the server was stopped while the queue ran.
    bool ReconnectAndResubscribe(bool reconnect);

    // Cuts an item at commas into trimmed, upper-cased parameters.
    static bool SplitDdeRequest(const std::string& request, std::vector<std::string>& params);

    // The topics' item grammars: what a non-empty item asks for, or nothing after its refusal
    // is logged (for logObject). Subscribing is the caller's step. A bar item's session window
    // is moved out of the display zone of manager, the supplier's data manager.
    static std::optional<SnapshotItem> CreateSnapshotTopic(const std::string& request,
                                                           const void* logObject);
    static std::optional<BarItem> CreateBarTopic(const std::string& request, Mondrel* manager,
                                                 const void* logObject);
    static std::optional<TickItem> CreateTickTopic(const std::string& request,
                                                   const void* logObject);

    // The DDEML callback of the server's instance.
    static HDDEDATA __DdeCallback(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1,
                                  HSZ hsz2, HDDEDATA data, std::uintptr_t data1,
                                  std::uintptr_t data2);

private:
    HDDEDATA OnDdeTransaction(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1,
                              HSZ hsz2, HDDEDATA data, std::uintptr_t data1, std::uintptr_t data2);
    bool AcceptConnect(HSZ topic, HSZ service);
    void OnPoke(HCONV hconv, HSZ topic, HSZ item);
    // The item's builder, made by the conversation's first request or advise of the item; null
    // when the item is refused.
    TextBuilder* OpenItem(HCONV hconv, HSZ topic, const DdeKey& key);
    HDDEDATA ServeItem(HCONV hconv, HSZ topic, HSZ item);
    // An advise opens the item as a request would; the new loop gets the item's text once the
    // library has made it, and every change after.
    bool StartAdvise(HCONV hconv, HSZ topic, HSZ item);
    // The item's data has arrived and its text is not the one last served to its conversation.
    bool IsNewToConversation(const DdeKey& key) const;

    bool DoRequest(HCONV hconv, const std::string& topic, const std::string& request);
    bool CreateSnapshotTopic(HCONV hconv, const std::string& request);
    bool CreateBarTopic(HCONV hconv, const std::string& request);
    bool CreateTickTopic(HCONV hconv, const std::string& request);
    // Stores an empty builder under the key unless one is there.
    void AddBuilder(const DdeKey& key, std::unique_ptr<TextBuilder> builder);
    // Stores a bar or tick topic and, unless the conversation's advise or request of the item
    // made it already, the item's empty list builder.
    template <typename Topics>
    void OpenListItem(Topics& topics, const typename Topics::key_type& key,
                      typename Topics::mapped_type topic, std::string header);

    template <typename Topics> void RemoveTopics(HCONV hconv, Topics& topics);
    void CloseConversation(HCONV hconv);
    bool DisconnectConversation(HCONV hconv);
    void CloseAllConversations(bool disconnect);

    // The one path of every update: the subscription's topic, its builder's text made anew by
    // format, then the advise of the item's loops.
    template <typename Builder, typename Topics, typename Format>
    void Deliver(const Topics& topics, const typename Topics::key_type& key, const char* topicName,
                 Format format);
    bool AdviseChanges(HCONV hconv, const char* topic, const std::string& request);
    // DdePostAdvise, tried again for as long as each failure reveals a conversation gone.
    bool PostAdvise(HSZ topic, HSZ item);
    // A client can end without ending its conversations (its process killed). Then the library
    // tells the server nothing, fails the next advise that reaches one of the client's loops and
    // from then on reports the conversation as not connected. Such a conversation is marked
    // gone: its updates are dropped, the library's later calls for it are refused, and its items
    // are closed from the message loop, never inside the data notification that found it.
    bool IsConnected(HCONV hconv) const;
    void MarkGone(HCONV hconv);
    // A new conversation on the handle of one marked gone whose items are not closed yet.
    void CloseReusedConversation(HCONV hconv);
    // Marks every conversation with items that is no longer connected; true when it found one.
    bool MarkGoneConversations();
    void CloseGoneConversations();
    TextBuilder* FindBuilder(const DdeKey& key) const;

    static DdeServer* s_singleton;

    MessageQueue& m_queue;
    DataSupplier* m_supplier;
    SnapshotTopics m_snapshots;
    BarTopics m_bars;
    TickTopics m_ticks;
    std::map<DdeKey, std::unique_ptr<TextBuilder>, DdeKeyLess> m_builders;
    DdeInstance m_dde;
    SettingsSource m_settings;
    // The topic and item names of each advised item, made once rather than on every update: under
    // Wine each string handle made and freed is a round trip to the wine server. Declared after
    // m_dde: the handles go before the instance.
    struct AdviseNames {
        DdeStringHandle topic;
        DdeStringHandle item;
    };
    std::map<DdeKey, AdviseNames, DdeKeyLess> m_adviseNames;
    // The names of the item, made unless there. Kept from the advise start until the item closes:
    // the server's own reference to each advised item name for the life of its loop.
    const AdviseNames& KeepAdviseNames(const DdeKey& key, const char* topic);
    // The items whose data has arrived, and a hash of the text last served for each item: the
    // first advise of a new loop sends the item's text once its data is there, unless the
    // conversation was served that same text (by a request) already.
    std::set<DdeKey, DdeKeyLess> m_withData;
    std::map<DdeKey, std::size_t, DdeKeyLess> m_servedTexts;
    // The conversation whose item AdviseChanges is advising, while it does.
    HCONV m_advising = nullptr;
    // Conversations marked gone that the library still keeps (Wine cannot end a server's side of
    // a conversation), and those of them whose items are still to be closed.
    std::set<HCONV, HandleLess> m_gone;
    std::vector<HCONV> m_closing;
};
