#include "TextCase.h"

using namespace Qt::StringLiterals;

namespace qaveq::TextCase {

QString code(Mode mode)
{
    switch (mode) {
    case Mode::Small:
        return u"DEF"_s;
    case Mode::Capitalized:
        return u"CAP"_s;
    case Mode::AllCaps:
        return u"UPR"_s;
    }
    return {};
}

std::optional<Mode> fromCode(const QString &code)
{
    for (Mode mode : {Mode::Small, Mode::Capitalized, Mode::AllCaps})
        if (TextCase::code(mode) == code)
            return mode;
    return std::nullopt;
}

QString menuText(Mode mode)
{
    switch (mode) {
    case Mode::Small:
        return u"small text"_s;
    case Mode::Capitalized:
        return u"Capitalized Text"_s;
    case Mode::AllCaps:
        return u"ALL CAPS"_s;
    }
    return {};
}

QString apply(const QString &text, Mode mode)
{
    switch (mode) {
    case Mode::Small:
        return text;
    case Mode::AllCaps:
        return text.toUpper();
    case Mode::Capitalized: {
        QString result = text;
        bool wordStart = true;
        for (QChar &c : result) {
            if (c.isLetter()) {
                if (wordStart)
                    c = c.toUpper();
                wordStart = false;
            } else {
                wordStart = c.isSpace() || c == u'-' || c == u'/';
            }
        }
        return result;
    }
    }
    return text;
}

QString storeRequest(Mode mode, const QString &field)
{
    return code(mode) + field;
}

QString queryRequest(const QString &field)
{
    return u"000"_s + field;
}

} // namespace qaveq::TextCase
