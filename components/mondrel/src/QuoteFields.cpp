#include "QuoteFields.h"

namespace mondrel {

FieldType TypeOfField(int fieldId) {
    switch (fieldId) {
    case qfVolume:
    case qfTradeSize:
    case qfOpenInterest:
    case qfAskSize:
    case qfBidSize:
    case qfAverageVolume65:
    case qfQuoteTime:
    case qfTradeTime:
    case qfDate:
    case qfEAB7:
        return FieldType::Integer;
    case qfExchange:
    case qfBidExchange:
    case qfAskExchange:
    case qfTradeExchange:
    case qfTitle:
    case qfSymbol:
        return FieldType::Text;
    case qfTrade:
    case qfLast:
    case qfOpen:
    case qfHigh:
    case qfLow:
    case qfYesterday:
    case qfAsk:
    case qfBid:
    case qfNet:
    case qfSettle:
    case qfVwap:
    case qfYearHigh:
    case qfYearLow:
    case qfTrade2:
    case qfTrade3:
    case qfTrade4:
    case qfEps:
    case qfDividend:
    case qfDividendYield:
    case qfPeRatio:
    case qfSharesOutstanding:
    case qfBeta:
    case qfCurrentRatio:
        return FieldType::Double;
    default:
        return FieldType::Unknown;
    }
}

} // namespace mondrel
