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

// A cut never leaves half a character: the pair of a character beyond the
// basic plane stays whole or goes whole.
TEST(TextCutTest, CutsAtCharacterBoundaries)
{
    const QString tractor = u"🚜"_s; // two UTF-16 units
    const QString text = u"abc"_s + tractor + u"d"_s;
    EXPECT_EQ(Text::left(text, 3), u"abc");
    EXPECT_EQ(Text::left(text, 4), u"abc") << "never the first half alone";
    EXPECT_EQ(Text::left(text, 5), u"abc"_s + tractor);
    EXPECT_EQ(Text::left(text, 0), QString());
    EXPECT_EQ(Text::cut(u"ab "_s + tractor, 4), u"ab");
    EXPECT_EQ(Text::cut(text, 40), text);
    EXPECT_TRUE(Text::left(u"x"_s.repeated(19) + tractor, 20).toUtf8().isValidUtf8());
}

TEST(TextCutTest, ControlCharactersAreFoundAndMadeSpaces)
{
    EXPECT_FALSE(Text::hasControl(u"Café, \"ok\" 🚜"_s));
    for (const QString &text : {u"a\nb"_s, u"a\tb"_s, u"a\rb"_s, u"a\u0001b"_s, u"a\u007Fb"_s,
                                u"a\u0085b"_s, QString(u"a"_s + QChar(0) + u"b"_s)})
        EXPECT_TRUE(Text::hasControl(text)) << text.toStdString();
    EXPECT_EQ(Text::controlsToSpaces(u"two\nlines\tand\r\nmore"_s), u"two lines and  more");
}
