#include "SnapshotQualifiers.h"

#include "Kolvane.h"

#include <array>
#include <cstddef>

namespace {

using QualifierTable = std::array<SnapshotQualifier, __sfEndOfQualifierList>;

// Identifier, short name, long name; one line per qualifier, in identifier order.
constexpr QualifierTable s_qualifiers = {{
    {0, "D", "Date"},
    {1, "TT", "TradeTime"},
    {2, "O", "Open"},
    {3, "H", "High"},
    {4, "L", "Low"},
    {5, "TR", "Trade"},
    {6, "T", "Last"},
    {7, "S", "Settle"},
    {8, "Y", "Yest"},
    {9, "N", "Net"},
    {10, "B", "Bid"},
    {11, "A", "Ask"},
    {12, "BB", "BestBid"},
    {13, "BA", "BestAsk"},
    {14, "V", "Volume"},
    {15, "OI", "OpenInt"},
    {16, "TS", "TradeSize"},
    {17, "BS", "BidSize"},
    {18, "AS", "AskSize"},
    {19, "BBS", "BestBidSize"},
    {20, "BAS", "BestAskSize"},
    {21, "TX", "TradeExg"},
    {22, "BX", "BidExg"},
    {23, "AX", "AskExg"},
    {24, "BBX", "BestBidExg"},
    {25, "BAX", "BestAskExg"},
    {26, "T2", "Trade2"},
    {27, "T3", "Trade3"},
    {28, "T4", "Trade4"},
    {29, "T5", "Trade5"},
    {30, "TIV", "TickVol"},
    {31, "YH", "1-YearHigh"},
    {32, "YL", "1-YearLow"},
    {33, "%", "Net %"},
    {34, "%R", "% InRange"},
    {35, "BV", "BlockVol"},
    {36, "BT", "BlockTrades"},
    {37, "V@A", "Vol@Ask"},
    {38, "TV@A", "TickVol@Ask"},
    {39, "V@B", "Vol@Bid"},
    {40, "TV@B", "TickVol@Bid"},
    {41, "TIM", "Tick Magnitude"},
    {42, "%Y", "% In Yearly Range"},
    {43, "P@A", "Value@Ask"},
    {44, "P@B", "Value@Bid"},
    {45, "DV", "DayValue"},
    {46, "MF", "MoneyFlow"},
    {47, "VWAP", "VWAP"},
    {48, "QT", "QTRIN"},
    {49, "65DAV", "65 Day Avg Vol"},
    {50, "UTV", "UpTickVol"},
    {51, "UT", "UpTicks"},
    {52, "UTP", "UpTickVal"},
    {53, "DTV", "DnTickVol"},
    {54, "DT", "DnTicks"},
    {55, "DTP", "DnTickVal"},
    {56, "TTL", "Title"},
    {57, "SYM", "Symbol"},
    {58, "EX", "Exchange"},
    {59, "FD", "Financials Date"},
    {60, "BETA", "Beta"},
    {61, "SO", "Shares Outstanding"},
    {62, "FLT", "Float"},
    {63, "DIV", "Dividend"},
    {64, "INSO", "Inside Owned Pct"},
    {65, "INTO", "Institutional Owned Pct"},
    {66, "SI", "Short Int"},
    {67, "SIP", "Short Int Prev"},
    {68, "SIR", "Short Int Ratio"},
    {69, "CF/S", "CashFlow/Share"},
    {70, "S/S", "Sales/Share"},
    {71, "ROE", "Return On Equity"},
    {72, "ROA", "Return On Assets"},
    {73, "GM", "Gross Margin"},
    {74, "OM", "Operating Margin"},
    {75, "PTM", "Pretax Margin"},
    {76, "IC", "Industry Code"},
    {77, "IN", "Industry Name"},
    {78, "SN", "Sector Name"},
    {79, "IT", "Inventory Turnover"},
    {80, "AT", "AssetTurnover"},
    {81, "RT", "Receivables Turnover"},
    {82, "R/E", "Revenue/Employee"},
    {83, "EPS", "EPS"},
    {84, "RGR", "Revenue Growth Rate"},
    {85, "E/SGR", "E/S Growth Rate"},
    {86, "DER", "Debt Equity Ratio"},
    {87, "LTDER", "LTDebt Equity Ratio"},
    {88, "CR", "Current Ratio"},
    {89, "QR", "Quick Ratio"},
    {90, "IP", "Insider Purchased"},
    {91, "IS", "Insider Sold"},
    {92, "BV/S", "BookValue/Share"},
    {93, "MC", "Market Capitalization"},
    {94, "PER", "P/E Ratio"},
    {95, "DY", "Dividend Yield"},
    {96, "BASP", "Bid/Ask Spread"},
    {97, "LASTEXTHRS", "Last Extended Hours"},
}};

constexpr bool IdsArePositions(const QualifierTable& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].id != static_cast<SnapshotQualifierId>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(IdsArePositions(s_qualifiers), "a qualifier's identifier is its position");

const QualifierTable& Qualifiers() {
    return s_qualifiers;
}

} // namespace

SnapshotQualifierId SnapshotQualifiers::GetQualifierID(const std::string& shortName) {
    KOLVANE_ASSERT_TEXT(!shortName.empty(), "!qualifierShortName.IsEmpty()");
    for (const SnapshotQualifier& qualifier : Qualifiers()) {
        if (shortName == qualifier.shortName) {
            return qualifier.id;
        }
    }
    return __sfEndOfQualifierList;
}

std::string SnapshotQualifiers::GetQualifierLongName(SnapshotQualifierId qualifierID) {
    const QualifierTable& qualifiers = Qualifiers();
    KOLVANE_ASSERT(qualifierID != __sfEndOfQualifierList);
    KOLVANE_ASSERT((size_t)qualifierID < qualifiers.size());
    if ((size_t)qualifierID >= qualifiers.size()) {
        return {};
    }
    return qualifiers[static_cast<std::size_t>(qualifierID)].longName;
}
