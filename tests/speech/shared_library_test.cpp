#include "speech/shared_library.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

using Cosine = double (*)(double);

TEST(SharedLibrary, BindsFunctionsAndVariables) {
    SharedLibrary library("libm.so.6");
    Cosine cosine = nullptr;
    library.bind(cosine, "cos");
    int* gamma = nullptr;
    library.bind(gamma, "signgam");
    EXPECT_TRUE(library.ok()) << library.error();
    EXPECT_EQ(library.error(), "");
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_NE(gamma, nullptr);
}

TEST(SharedLibrary, FirstMissingNameIsTheReason) {
    SharedLibrary library("libm.so.6");
    Cosine cosine = nullptr;
    Cosine missing = &::cos;
    library.bind(missing, "quorvel_no_such_name");
    library.bind(cosine, "cos");
    library.bind(missing, "quorvel_no_other_name");
    EXPECT_FALSE(library.ok());
    EXPECT_EQ(library.error(), "no quorvel_no_such_name");
    EXPECT_EQ(missing, nullptr);
    EXPECT_NE(cosine, nullptr);
}

TEST(SharedLibrary, MissingLibraryBindsNothing) {
    SharedLibrary library("libquorvel-no-such-library.so.0");
    Cosine cosine = &::cos;
    library.bind(cosine, "cos");
    EXPECT_FALSE(library.ok());
    EXPECT_NE(library.error().find("libquorvel-no-such-library.so.0"), std::string::npos)
        << library.error();
    EXPECT_EQ(cosine, nullptr);
}

}  // namespace
}  // namespace quorvel
