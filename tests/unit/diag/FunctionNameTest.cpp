#include "Kolvane.h"

#include <gtest/gtest.h>

namespace {

struct Sample {
    std::u16string Method(int, const char*) const {
        return Kolvane::QualifiedFunctionName(__PRETTY_FUNCTION__);
    }
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
    EXPECT_EQ(Kolvane::QualifiedFunctionName("bool DataSupplier::Connect(const Settings&)"),
              u"DataSupplier::Connect");
    EXPECT_EQ(Kolvane::QualifiedFunctionName("StaticIniter::~StaticIniter()"),
              u"StaticIniter::~StaticIniter");
    EXPECT_EQ(Kolvane::QualifiedFunctionName(
                  "const std::map<int, int>& DdeServer::Builders(std::pair<int, int>) const"),
              u"DdeServer::Builders");
    EXPECT_EQ(Kolvane::QualifiedFunctionName("void* Kolvane::Alloc(std::size_t)"),
              u"Kolvane::Alloc");
    // Unnamed namespaces are left out, as GCC and Clang spell them.
    EXPECT_EQ(Kolvane::QualifiedFunctionName("int {anonymous}::Run()"), u"Run");
    EXPECT_EQ(
        Kolvane::QualifiedFunctionName("void (anonymous namespace)::AboutDlg::OnInitDialog()"),
        u"AboutDlg::OnInitDialog");
    EXPECT_EQ(Sample().Method(1, ""), u"Sample::Method");
    EXPECT_EQ(Sample().ctor, u"Sample::Sample");
    EXPECT_EQ(Sample().FromLambda(), u"Sample::FromLambda");
    EXPECT_EQ(TemplateFunction(3), u"TemplateFunction");
}
