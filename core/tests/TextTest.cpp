#include "core/Text.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

TEST(TextWrapTest, BreaksAfterSpacesAndInsideAWordOnlyWhenItIsWider)
{
    EXPECT_EQ(Text::wrap(u"Greased the boom and bucket pins"_s, 12),
              (QStringList{u"Greased the"_s, u"boom and"_s, u"bucket pins"_s}));
    EXPECT_EQ(Text::wrap(u"Hydraulicfilterreplaced"_s, 10),
              (QStringList{u"Hydraulicf"_s, u"ilterrepla"_s, u"ced"_s}));
    // A fixed-width field's padding makes no empty line; an empty note keeps one.
    EXPECT_EQ(Text::wrap(u"Tyres checked          "_s, 13), QStringList{u"Tyres checked"_s});
    EXPECT_EQ(Text::wrap(u"     "_s, 10), QStringList{QString()});
}
