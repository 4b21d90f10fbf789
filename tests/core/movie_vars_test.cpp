// The movie-variable decisions that are easy to get wrong: when a movie is ready, and the text
// it receives, whole whatever its length.
#include "host/movie_vars.h"

#include <gtest/gtest.h>

TEST(MovieVars, ReadyWhenTheTextBeginsWithT) {
    for (const char* text : {"true", "True", "T", "t", "tomorrow"})
        EXPECT_TRUE(IsMovieLoaded(text)) << text;
    for (const char* text : {"false", "0", "", " true", "yes"})
        EXPECT_FALSE(IsMovieLoaded(text)) << text;
    EXPECT_FALSE(IsMovieLoaded(nullptr));
}

TEST(MovieVars, HandOverTextCarriesTheWholeStoredValue) {
    EXPECT_EQ(MakeHandOverText(nullptr), "setv");
    const std::string saved(5000, 'q');
    EXPECT_EQ(MakeHandOverText(saved.c_str()), "setv" + saved);
}
