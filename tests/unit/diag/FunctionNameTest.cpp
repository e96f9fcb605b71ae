// How reports name their function: the spellings of GCC and Clang, and those of the compiler that
// builds this file (natively and for Windows).
#include "Kolvane.h"

#include <gtest/gtest.h>

namespace {

struct Sample {
    Sample() : ctor(Kolvane::QualifiedFunctionName(__PRETTY_FUNCTION__)) {}
    std::u16string FromLambda() const {
        return [](char) { return Kolvane::QualifiedFunctionName(__PRETTY_FUNCTION__); }('x');
    }
    std::u16string ctor;
};

template <typename T> std::u16string TemplateFunction(T) {
    return Kolvane::QualifiedFunctionName(__PRETTY_FUNCTION__);
}

} // namespace

TEST(QualifiedFunctionName, CutsReturnTypeParametersTemplateBindingsAndUnnamedNamespaces) {
    const std::pair<const char*, std::u16string> spellings[] = {
        {"bool DataSupplier::Connect(const Settings&)", u"DataSupplier::Connect"},
        {"const std::map<int, int>& DdeServer::Builders(std::pair<int, int>) const",
         u"DdeServer::Builders"},
        {"void* Kolvane::Alloc(std::size_t)", u"Kolvane::Alloc"},
        {"int {anonymous}::Run()", u"Run"},
        {"void (anonymous namespace)::AboutDlg::OnInitDialog()", u"AboutDlg::OnInitDialog"},
    };
    for (const auto& [pretty, name] : spellings) {
        EXPECT_EQ(Kolvane::QualifiedFunctionName(pretty), name) << pretty;
    }
    EXPECT_EQ(Sample().ctor, u"Sample::Sample");
    EXPECT_EQ(Sample().FromLambda(), u"Sample::FromLambda");
    EXPECT_EQ(TemplateFunction(3), u"TemplateFunction");
}
