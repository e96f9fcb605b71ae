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

TEST(QualifiedFunctionName, CutsReturnTypeParametersAndTemplateBindings) {
    EXPECT_EQ(Kolvane::QualifiedFunctionName("bool DataSupplier::Connect(const Settings&)"),
              u"DataSupplier::Connect");
    EXPECT_EQ(Kolvane::QualifiedFunctionName("StaticIniter::~StaticIniter()"),
              u"StaticIniter::~StaticIniter");
    EXPECT_EQ(Kolvane::QualifiedFunctionName(
                  "const std::map<int, int>& DdeServer::Builders(std::pair<int, int>) const"),
              u"DdeServer::Builders");
    EXPECT_EQ(Kolvane::QualifiedFunctionName("void* Kolvane::Alloc(std::size_t)"),
              u"Kolvane::Alloc");
    EXPECT_EQ(Sample().Method(1, ""), u"{anonymous}::Sample::Method");
    EXPECT_EQ(Sample().ctor, u"{anonymous}::Sample::Sample");
    EXPECT_EQ(Sample().FromLambda(), u"{anonymous}::Sample::FromLambda");
    EXPECT_EQ(TemplateFunction(3), u"{anonymous}::TemplateFunction");
}
