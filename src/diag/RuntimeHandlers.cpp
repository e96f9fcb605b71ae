#include "RuntimeHandlers.h"

#include "Kolvane.h"

namespace Kolvane {

// Both handlers report as code of Kolvane.h, where the layer's public face lives.
void InvalidParameterHandler(const wchar_t* expression, const wchar_t* function,
                             const wchar_t* file, unsigned int line, std::uintptr_t /*reserved*/) {
    WriteLog(
        LogLocation{u"src/diag/Kolvane.h", u"Kolvane::InvalidParameterHandler", nullptr, __LINE__},
        "invalid_parameter_handler: expression=%ls, function=%ls, file=%ls, line=%d", expression,
        function, file, static_cast<int>(line));
    ReportFailedAssertion(u"src/diag/Kolvane.h", u"" __TIMESTAMP__, __LINE__,
                          "void Kolvane::InvalidParameterHandler()", u"false");
}

void PureCallHandler() {
    WriteLog(LogLocation{u"src/diag/Kolvane.h", u"Kolvane::PureCallHandler", nullptr, __LINE__},
             "pure_call_handler");
    ReportFailedAssertion(u"src/diag/Kolvane.h", u"" __TIMESTAMP__, __LINE__,
                          "void Kolvane::PureCallHandler()", u"false");
}

} // namespace Kolvane
