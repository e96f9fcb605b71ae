// The data-manager library Mondrel.dll: the market-data source of the program. Operations of each
// interface are declared in slot order; objects the library returns stay its own (only request
// options are destroyed by the caller, with Destroy). Every callback arrives on the thread that
// created the instance, from that thread's message loop.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(MONDREL_BUILDING)
#define MONDREL_API __declspec(dllexport)
#else
#define MONDREL_API __declspec(dllimport)
#endif
#else
#define MONDREL_API __attribute__((visibility("default")))
#endif

// Seconds since 1970-01-01 00:00:00 UTC.
typedef std::int32_t MondrelTime;

// Feed ids (bits), as given to integer option 1 and reported by IFeed::GetFeedId.
enum MondrelFeedBits : int {
    mfbDataManager = 0x0001,
    mfbDomesticTick = 0x0002,
    mfbInternationalTick = 0x0004,
    mfbHistory = 0x0010,
};

// Option ids of SetIntOption / SetTextOption / GetIntOption.
enum MondrelOption : int {
    moFeeds = 1,           // int: the feed bits to connect
    moDomTickAddress = 3,  // text
    moTimeZoneMode = 5,    // int: 0 local, 1 GMT, 2 exchange
    moIntlTickAddress = 6, // text
    moReconnect = 11,      // int
    moHistoryAddress = 12, // text
    moQuoteAddress = 18,   // text
    moQuoteExchanges = 43, // text
};

// Field ids of IQuote's getters.
enum MondrelQuoteField : int {
    qfTrade = 1, // last trade, extended hours included
    qfLast = 2,
    qfOpen = 4,
    qfHigh = 5,
    qfLow = 6,
    qfYesterday = 7,
    qfAsk = 8,
    qfBid = 9,
    qfNet = 0x0A,
    qfSettle = 0x0B,
    qfVwap = 0x11,
    qfYearHigh = 0x12,
    qfYearLow = 0x13,
    qfTrade2 = 0x1F,
    qfTrade3 = 0x20,
    qfTrade4 = 0x21,
    qfVolume = 0x2711,
    qfTradeSize = 0x2713,
    qfOpenInterest = 0x2714,
    qfAskSize = 0x2715,
    qfBidSize = 0x2716,
    qfAverageVolume65 = 0x2717,
    qfQuoteTime = 0x7534,
    qfTradeTime = 0x7535,
    qfDate = 0x7540,
    qfExchange = 0xEA67,
    qfBidExchange = 0xEA68,
    qfAskExchange = 0xEA69,
    qfTradeExchange = 0xEA6A,
    qfEps = 0xEA6C,
    qfDividend = 0xEA6D,
    qfDividendYield = 0xEA6E,
    qfPeRatio = 0xEA70,
    qfSharesOutstanding = 0xEA71,
    qfTitle = 0xEA72,
    qfBeta = 0xEA83,
    qfCurrentRatio = 0xEA91,
    qfSymbol = 0xEAB6,
    qfEAB7 = 0xEAB7, // an integer, named by its id only
};

// Bar intervals of RequestBars: 1 to 1440 minutes, or a whole calendar period in UTC below 0.
enum MondrelBarInterval : int {
    biDaily = -1,
    biWeekly = -2, // weeks start on Sunday
    biMonthly = -3,
    biQuarterly = -4,   // accepted without bars: quarters are merged from months by the caller
    biPassThrough = -5, // accepted without bars
};

class IFeed {
public:
    virtual int GetFeedId() = 0;

protected:
    ~IFeed() = default;
};

class IQuote {
public:
    // Each getter returns nonzero when the field is present and writes it.
    virtual int GetInt(int fieldId, std::int32_t* value) = 0;
    virtual int GetText(int fieldId, char* buffer, int bufferSize) = 0;
    virtual int GetDouble(int fieldId, double* value) = 0;

protected:
    ~IQuote() = default;
};

class IBarItem {
public:
    virtual double GetLow() = 0;
    virtual double GetClose() = 0;
    virtual double GetHigh() = 0;
    virtual double GetOpen() = 0;
    virtual std::int32_t GetVolume() = 0;
    virtual MondrelTime GetTime() = 0;

protected:
    ~IBarItem() = default;
};

class IBarSet {
public:
    virtual std::int32_t GetBarCount() = 0;
    virtual IBarItem* GetBar(std::int32_t index) = 0;
    // Drops all but the newest count bars.
    virtual void Trim(std::int32_t count, int flag) = 0;

protected:
    ~IBarSet() = default;
};

class ITickItem {
public:
    virtual int IsTrade() = 0;
    virtual MondrelTime GetTime() = 0;
    virtual double GetBidPrice() = 0;
    virtual double GetAskPrice() = 0;
    virtual std::int32_t GetBidSize() = 0;
    virtual std::int32_t GetAskSize() = 0;
    // Exchange codes are written null-terminated into the caller's buffer.
    virtual void GetAskExchange(char* buffer, int bufferSize) = 0;
    virtual void GetBidExchange(char* buffer, int bufferSize) = 0;
    virtual double GetTradePrice() = 0;
    virtual std::int32_t GetTradeSize() = 0;
    virtual void GetTradeExchange(char* buffer, int bufferSize) = 0;

protected:
    ~ITickItem() = default;
};

class ITickSet {
public:
    virtual std::int32_t GetTickCount() = 0;
    virtual ITickItem* GetTick(std::int32_t index) = 0;
    virtual void Trim(std::int32_t count, int flag) = 0;

protected:
    ~ITickSet() = default;
};

// Options of one bar or tick request; the caller destroys them after the request.
class IRequestOptions {
public:
    virtual void Destroy() = 0;
    virtual void SetEndTime(MondrelTime endTime) = 0;
    virtual void SetCount(std::int32_t count) = 0;
    virtual void SetSessionStart(int hour, int minute) = 0;
    virtual void SetSessionEnd(int hour, int minute) = 0;
    virtual void SetCustomSession(bool custom) = 0;
    // Keep the request open for live updates after the history.
    virtual void SetLiveUpdates(int on) = 0;
    // Bars: build from quotes instead of trades. Ticks: include bid/ask quote ticks.
    virtual void SetIncludeQuotes(int on) = 0;

protected:
    ~IRequestOptions() = default;
};

class IHolidayList {
public:
    virtual int GetHolidayCount() = 0;
    virtual void GetHoliday(int index, int* year, int* month, int* day) = 0;

protected:
    ~IHolidayList() = default;
};

class IMarketInfo {
public:
    // Zone handle of the symbol's exchange; 0 when unknown.
    virtual int GetTimeZone(const char* symbol) = 0;
    virtual IHolidayList* GetHolidays(const char* symbol) = 0;
    virtual void ReleaseHolidays(IHolidayList* list) = 0;
    // Minutes to add to UTC for the symbol's exchange now; second: its standard-time offset.
    virtual void GetTimeOffsets(const char* symbol, int* offset, int* second) = 0;
    // Minutes to add to UTC for the zone's wall-clock time at the given time.
    virtual int GetTimeZoneOffset(MondrelTime time, int zone) = 0;
    virtual int IsDaylightTime(MondrelTime time, const char* symbol) = 0;

protected:
    ~IMarketInfo() = default;
};

class IConnectionEvents {
public:
    virtual void OnRetry(IFeed* feed, int code) = 0;
    virtual void OnConnected(IFeed* feed, int code) = 0;
    virtual void OnDisconnected(IFeed* feed, int code) = 0;
    virtual void OnFeedList(IFeed* feed, const char* list) = 0;
    virtual void OnServerMessage(const char* text) = 0;
    virtual void OnHeartbeat(MondrelTime serverTime) = 0;

protected:
    ~IConnectionEvents() = default;
};

class IQuoteEvents {
public:
    virtual void OnQuoteUpdate(IQuote* quote) = 0;
    virtual void OnQuoteRefresh(IQuote* quote, int fieldCount) = 0;
    virtual void OnQuoteError(IQuote* quote, int code) = 0;
    // Whether the listener wants every update (1) or only the latest (0).
    virtual int WantsEveryUpdate() = 0;

protected:
    ~IQuoteEvents() = default;
};

class IBarEvents {
public:
    virtual void OnBarBackFillStart(IBarSet* barSet) = 0;
    virtual void OnBarBackFillComplete(IBarSet* barSet) = 0;
    virtual void OnBarBackFillEmpty(IBarSet* barSet) = 0;
    virtual void OnBarReset(IBarSet* barSet) = 0;
    virtual void OnBarUpdate(IBarSet* barSet, IBarItem* item) = 0;
    virtual void OnBarError(IBarSet* barSet, int code) = 0;
    virtual void OnBarStopped(IBarSet* barSet) = 0;

protected:
    ~IBarEvents() = default;
};

class ITickEvents {
public:
    virtual void OnTicBackFillStart(ITickSet* tickSet) = 0;
    virtual void OnTicBackFillComplete(ITickSet* tickSet) = 0;
    virtual void OnTicUpdate(ITickSet* tickSet, ITickItem* tick) = 0;
    virtual void OnTicError(ITickSet* tickSet, int code) = 0;
    virtual void OnTicCorrection(ITickSet* tickSet, ITickItem* tick, int index) = 0;
    virtual void OnTicStopped(ITickSet* tickSet) = 0;

protected:
    ~ITickEvents() = default;
};

// The library object. The static entries are the library's exports.
class MONDREL_API Mondrel {
public:
    static unsigned short Init(const char* applicationName, unsigned short applicationId,
                               const char* reserved, unsigned long version, unsigned long flags);
    static Mondrel* CreateInstance();
    static void DestroyInstance(Mondrel* instance);
    static void Shutdown();

    virtual int SetIntOption(int id, int value) = 0;
    virtual int SetTextOption(int id, const char* value) = 0;
    virtual int GetIntOption(int id, int* value) = 0;
    virtual int ConnectFeeds(const char* userName, const char* password, int autoReconnect,
                             int reserved) = 0;
    virtual void DisconnectFeeds() = 0;
    virtual IMarketInfo* GetMarketInfo() = 0;
    virtual void ReleaseMarketInfo() = 0;
    virtual void AddConnectionListener(IConnectionEvents* listener) = 0;
    virtual void RemoveConnectionListener(IConnectionEvents* listener) = 0;
    virtual IQuote* SubscribeQuote(const char* symbol, IQuoteEvents* events, int flags) = 0;
    virtual void UnsubscribeQuote(IQuote* quote, IQuoteEvents* events) = 0;
    virtual IBarSet* RequestBars(const char* symbol, int interval, IBarEvents* events,
                                 IRequestOptions* options) = 0;
    virtual void StopBars(IBarSet* barSet, IBarEvents* events) = 0;
    virtual IRequestOptions* NewBarOptions() = 0;
    virtual ITickSet* RequestTicks(const char* symbol, ITickEvents* events,
                                   IRequestOptions* options) = 0;
    virtual void StopTicks(ITickSet* tickSet, ITickEvents* events) = 0;
    virtual IRequestOptions* NewTickOptions() = 0;

protected:
    ~Mondrel() = default;
};
