#include "FormModel.h"

#include "data/Company.h"
#include "data/RequestScope.h"
#include "data/Table.h"
#include "data/UserActivity.h"

#include "core/Clock.h"
#include "core/Picker.h"
#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/SuiteDate.h"
#include "core/Text.h"

#include "runtime/StandardWarnings.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq::forms {

namespace {

bool isBlank(const data::FieldValue &value)
{
    if (const auto *text = std::get_if<QString>(&value))
        return text->trimmed().isEmpty();
    if (const auto *number = std::get_if<Decimal>(&value))
        return number->isZero();
    return std::get<qint64>(value) == 0;
}

Decimal asDecimal(const data::FieldValue &value)
{
    if (const auto *number = std::get_if<Decimal>(&value))
        return *number;
    if (const auto *whole = std::get_if<qint64>(&value))
        return Decimal::fromUnits(*whole, 0);
    return {};
}

// A typed date: m/d/yy or m/d/yyyy (also with "-"); empty is no date. Two-digit
// years fall in the hundred years that end twenty years after today's year.
std::optional<qint64> parseDate(const QString &text, int thisYear)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    const QStringList parts = QString(trimmed).replace(u'-', u'/').split(u'/');
    if (parts.size() != 3)
        return std::nullopt;
    bool okMonth = false, okDay = false, okYear = false;
    const int month = parts[0].toInt(&okMonth);
    const int day = parts[1].toInt(&okDay);
    int year = parts[2].toInt(&okYear);
    if (!okMonth || !okDay || !okYear || year < 0)
        return std::nullopt;
    if (parts[2].size() <= 2)
        year = SuiteDate::expandYear(year, thisYear);
    const DayNumber date = SuiteDate::fromYmd(year, month, day);
    return SuiteDate::isShown(date) ? std::optional<qint64>(date) : std::nullopt;
}

QString rangeText(const Control &control)
{
    const auto shown = [](const Decimal &bound) { return bound.toString(); };
    if (control.minimum && control.maximum)
        return shown(*control.minimum) + u" and "_s + shown(*control.maximum);
    return shown(control.minimum ? *control.minimum : *control.maximum);
}

} // namespace

struct FormModel::Slot
{
    const data::FieldDef *field = nullptr; // a field of the record
    const FormValue *own = nullptr;        // or a value of the form's own
    data::FieldType type() const { return field ? field->type : own->type; }
};

FormModel::FormModel(FormDefinition definition, Services services)
    : m_definition(std::move(definition))
    , m_services(std::move(services))
    , m_request(m_services.session.globalRequest)
{
    m_services.session.globalResponse = data::Response::Cancelled;
    for (const Page &page : std::as_const(m_definition.pages))
        for (const Group &group : page.groups)
            for (const Row &row : group.rows)
                for (const Control &control : row.controls)
                    m_controls.append(&control);
    for (const FormValue &own : std::as_const(m_definition.values))
        m_values.insert(own.name, own.type == data::FieldType::Text ? data::FieldValue(QString())
                                  : own.type == data::FieldType::Decimal
                                      ? data::FieldValue(Decimal())
                                      : data::FieldValue(qint64(0)));
    if (m_request == data::Request::Change && m_definition.viewOnly &&
        m_definition.viewOnly(m_services.session))
        m_request = data::Request::View;
    const bool changing = m_request == data::Request::Insert ||
                          m_request == data::Request::Change || m_request == data::Request::Delete;
    if (changing && m_definition.refuse &&
        m_definition.refuse(m_services.session, m_services.prompter, m_request))
        return;
    if (!read())
        return;
    m_open = true;
    if (m_request == data::Request::Insert && m_definition.prime)
        m_definition.prime(*this);
    for (const Control *control : std::as_const(m_controls))
        if (control->code)
            m_acceptedCodes.insert(control->field, text(control->field));
    if (m_definition.opened)
        m_definition.opened(*this);
    rememberShown();
}

FormModel::~FormModel() = default;

data::Table &FormModel::table() const
{
    return m_services.session.company->file(m_definition.file);
}

const data::FileSchema &FormModel::schema() const
{
    return table().schema();
}

bool FormModel::read()
{
    data::Record &buffer = m_services.session.buffer(schema());
    if (m_request == data::Request::Insert) {
        m_original = schema().create();
    } else {
        // The stored record: by its row when the buffer came from a list,
        // else by the first unique key the caller put into the buffer.
        m_original = buffer.clone();
        const data::KeyDef *key = schema().firstUniqueKey();
        const bool found = buffer.rowId() != 0
                               ? table().reread(*m_original).isOk()
                               : key && table().fetch(key->name, *m_original).isOk();
        if (!found) {
            warn(StandardWarning::RecordUnreadable, m_definition.file);
            return false;
        }
    }
    m_record = m_original->clone();
    return true;
}

void FormModel::rememberShown()
{
    m_shownRecord = m_record->clone();
    m_shownValues = m_values;
}

QString FormModel::caption() const
{
    if (m_definition.captionOf)
        return m_definition.captionOf(*this);
    switch (m_request) {
    case data::Request::Insert:
        return m_definition.insertCaption;
    case data::Request::Change:
        return m_definition.changeCaption;
    case data::Request::Delete:
        return m_definition.deleteCaption;
    default:
        return u"View Record"_s;
    }
}

std::optional<FormModel::Slot> FormModel::slot(QStringView name) const
{
    if (m_values.contains(name.toString())) {
        for (const FormValue &own : m_definition.values)
            if (own.name == name)
                return Slot{nullptr, &own};
    }
    if (const data::FieldDef *field = schema().field(name))
        return Slot{field, nullptr};
    return std::nullopt;
}

data::FieldValue FormModel::value(QStringView name) const
{
    const std::optional<Slot> where = slot(name);
    Q_ASSERT_X(where, "FormModel::value", qPrintable(name.toString()));
    if (!where)
        return {};
    return where->field ? where->field->get(*m_record) : m_values.value(where->own->name);
}

QString FormModel::code(QStringView name) const
{
    const data::FieldValue current = value(name);
    const auto *text = std::get_if<QString>(&current);
    return text ? Text::clip(*text) : QString();
}

QString FormModel::text(QStringView name) const
{
    const data::FieldValue current = value(name);
    const Control *owner = control(name);
    const QString picture = owner ? owner->picture : QString();
    switch (slot(name)->type()) {
    case data::FieldType::Text:
        return Text::clip(std::get<QString>(current));
    case data::FieldType::Decimal: {
        const Decimal &number = std::get<Decimal>(current);
        if (number.isZero())
            return {};
        const std::optional<Picture> shown = Picture::tryParse(picture);
        return number.toString(shown && shown->kind() == Picture::Kind::Number ? shown->places()
                                                                               : number.places());
    }
    case data::FieldType::Date:
        return Picture::parse(picture.isEmpty() ? u"@d2"_s : picture)
            .format(std::get<qint64>(current));
    case data::FieldType::Time:
        return Picture::parse(picture.isEmpty() ? u"@t1"_s : picture)
            .format(std::get<qint64>(current));
    case data::FieldType::Integer:
        return std::get<qint64>(current) == 0 ? QString()
                                              : QString::number(std::get<qint64>(current));
    }
    return {};
}

void FormModel::setValue(QStringView name, const data::FieldValue &newValue)
{
    store(name, newValue, Mode::Final);
    notify();
}

void FormModel::store(QStringView name, const data::FieldValue &newValue, Mode mode)
{
    const std::optional<Slot> where = slot(name);
    Q_ASSERT_X(where, "FormModel::store", qPrintable(name.toString()));
    if (!where || value(name) == newValue)
        return;
    if (where->field)
        where->field->set(*m_record, newValue);
    else
        m_values[where->own->name] = newValue;
    if (mode == Mode::Editing)
        runDerived(name, 0);
}

void FormModel::runDerived(QStringView changedName, int depth)
{
    // A rule whose result feeds another rule runs that one too; a cycle in
    // the declarations stops after a few rounds instead of looping.
    if (depth > 8)
        return;
    const auto same = [this](QStringView a, QStringView b) {
        const std::optional<Slot> left = slot(a), right = slot(b);
        return left && right && left->field == right->field && left->own == right->own;
    };
    for (const Derived &rule : std::as_const(m_definition.derived)) {
        const bool depends =
            std::any_of(rule.from.cbegin(), rule.from.cend(),
                        [&](const QString &from) { return same(from, changedName); });
        if (!depends)
            continue;
        const data::FieldValue result = rule.compute(*this);
        if (value(rule.to) == result)
            continue;
        store(rule.to, result, Mode::Final);
        runDerived(rule.to, depth + 1);
    }
}

const Control *FormModel::control(QStringView name) const
{
    const std::optional<Slot> wanted = slot(name);
    for (const Control *control : m_controls) {
        if (control->kind == ControlKind::ChildList || control->kind == ControlKind::Button ||
            control->kind == ControlKind::Custom)
            continue;
        const std::optional<Slot> where = slot(control->field);
        if (where && wanted && where->field == wanted->field && where->own == wanted->own)
            return control;
    }
    return nullptr;
}

bool FormModel::isShown(const Control &control) const
{
    return !control.shownWhen || control.shownWhen(*this);
}

bool FormModel::isEnabled(const Control &control) const
{
    // A button decides for itself whether it works while the form only shows.
    const bool rule = !control.enabledWhen || control.enabledWhen(*this);
    if (control.kind == ControlKind::Button)
        return rule;
    if (!isEditable() || control.kind == ControlKind::Display)
        return false;
    return rule;
}

std::optional<data::FieldValue> FormModel::parse(const Control &control, const QString &typed,
                                                 QString &problem) const
{
    const Slot where = *slot(control.field);
    const QString trimmed = typed.trimmed();
    switch (where.type()) {
    case data::FieldType::Text: {
        // Stored texts are one line: a line break or tab in a comment
        // becomes a space, in any other text it is refused.
        QString text = Text::clip(typed);
        if (Text::hasControl(text)) {
            if (!control.controlsToSpaces) {
                problem = u"%1 may not hold line breaks, tabs or other control characters."_s.arg(
                    control.prompt);
                return std::nullopt;
            }
            text = Text::clip(Text::controlsToSpaces(text));
            m_services.prompter.ask(Message{
                caption(),
                u"The line breaks and tabs in %1 were replaced by spaces."_s.arg(control.prompt),
                u"&OK"_s, 1, Message::Icon::Information});
        }
        const int width = where.field ? where.field->width : where.own->width;
        return data::FieldValue(width > 0 ? Text::cut(text, width) : text);
    }
    case data::FieldType::Decimal: {
        const int digits = where.field ? where.field->digits : where.own->digits;
        const int places = where.field ? where.field->places : where.own->places;
        if (trimmed.isEmpty())
            return data::FieldValue(Decimal());
        std::optional<Decimal> number;
        try {
            number = Decimal::parse(trimmed);
        } catch (const std::exception &) {
            // A number past what any field can hold reads as no number at all.
        }
        // A word is no number; digits that cannot be read are too many.
        const bool digitsOnly = std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || c == u',' || c == u'.' || c == u'-' || c == u'+';
        });
        if (!number && !digitsOnly) {
            problem = u"%1 must be a number, such as %2."_s.arg(
                control.prompt, places > 0 ? u"1250."_s + QString(places, u'5') : u"1250"_s);
            return std::nullopt;
        }
        if (!number || !number->fits(digits, places)) {
            problem =
                u"%1 must be a number of at most %2 digits before the point."_s.arg(control.prompt)
                    .arg(digits - places);
            return std::nullopt;
        }
        // Places the field cannot keep would be rounded away unseen.
        if (number->rounded(places) != *number) {
            problem = places > 0
                          ? u"%1 takes at most %2 places after the point."_s.arg(control.prompt)
                                .arg(places)
                          : u"%1 must be a whole number."_s.arg(control.prompt);
            return std::nullopt;
        }
        return data::FieldValue(number->stored(digits, places));
    }
    case data::FieldType::Date: {
        const std::optional<qint64> date = parseDate(typed, m_services.clock.today().year());
        if (!date) {
            problem =
                u"%1 must be a date such as 3/31/2025, in the years %2 to %3."_s.arg(control.prompt)
                    .arg(SuiteDate::FirstYear)
                    .arg(SuiteDate::LastYear);
            return std::nullopt;
        }
        return data::FieldValue(*date);
    }
    case data::FieldType::Integer:
    case data::FieldType::Time: {
        bool ok = trimmed.isEmpty();
        const qint64 number = ok ? 0 : trimmed.toLongLong(&ok);
        const qint64 low = where.field ? where.field->minimum : 0;
        const qint64 high = where.field ? where.field->maximum : std::numeric_limits<qint32>::max();
        if (!ok || number < low || number > high) {
            problem = u"%1 must be a whole number from %2 to %3."_s.arg(control.prompt)
                          .arg(low)
                          .arg(high);
            return std::nullopt;
        }
        return data::FieldValue(number);
    }
    }
    return std::nullopt;
}

void FormModel::recordsChanged(const QString &file)
{
    ++m_recordRevisions[file];
    notify();
}

void FormModel::notify()
{
    if (changed)
        changed();
}

FormModel::Outcome FormModel::edit(QStringView name, const QString &typed)
{
    const Control *owner = control(name);
    if (!owner || !isEnabled(*owner))
        return std::nullopt;
    QString problem;
    const std::optional<data::FieldValue> parsed = parse(*owner, typed, problem);
    if (!parsed) {
        m_services.prompter.ask(Message::alert(caption(), problem));
        notify();
        return Failure{owner->field, true};
    }
    const bool different = value(name) != *parsed;
    store(name, *parsed, Mode::Editing);
    Outcome outcome = checkControl(*owner, Mode::Editing);
    if (!outcome && different && owner->onChange)
        owner->onChange(*this);
    notify();
    return outcome;
}

FormModel::Outcome FormModel::choose(QStringView name, const data::FieldValue &chosen)
{
    const Control *owner = control(name);
    if (!owner || !isEnabled(*owner) || value(name) == chosen)
        return std::nullopt;
    store(name, chosen, Mode::Editing);
    if (owner->onChange)
        owner->onChange(*this);
    notify();
    return std::nullopt;
}

FormModel::Outcome FormModel::lookUp(QStringView name, const std::optional<QString> &typed)
{
    const Control *owner = control(name);
    // A form that only shows its record opens no list and no picker.
    if (!owner || !isEnabled(*owner))
        return Failure{owner ? owner->field : name.toString()};
    if (owner->code) {
        const std::optional<QString> chosen =
            openLookup(*owner->code, typed ? Text::clip(*typed) : text(owner->field));
        if (!chosen)
            return Failure{owner->field};
        // The choice counts as typed: it is accepted, defaults and all.
        return edit(name, *chosen);
    }
    if (!owner->pick.isEmpty()) {
        const std::optional<QString> chosen =
            m_services.picker.pick(owner->pick, text(owner->field));
        if (!chosen)
            return Failure{owner->field};
        return edit(name, *chosen);
    }
    return std::nullopt;
}

void FormModel::enter(QStringView name)
{
    const Control *owner = control(name);
    if (owner && owner->onEnter && isEnabled(*owner)) {
        owner->onEnter(*this);
        notify();
    }
}

int FormModel::warn(StandardWarning warning, const QString &text1, const QString &text2)
{
    return m_services.warn(static_cast<int>(warning), text1, text2);
}

FormModel::Outcome FormModel::checkControl(const Control &control, Mode mode)
{
    if (control.kind == ControlKind::ChildList || control.kind == ControlKind::Display ||
        control.kind == ControlKind::Button || control.kind == ControlKind::Custom)
        return std::nullopt;
    const data::FieldValue current = value(control.field);
    if (control.required && isBlank(current)) {
        // Leaving an empty entry is allowed; OK is not.
        if (mode == Mode::Editing)
            return std::nullopt;
        m_services.prompter.ask(
            Message::alert(caption(), u"%1 is a required entry."_s.arg(control.prompt)));
        return Failure{control.field};
    }
    if ((control.minimum || control.maximum) && !isBlank(current)) {
        const Decimal number = asDecimal(current);
        if ((control.minimum && number < *control.minimum) ||
            (control.maximum && *control.maximum < number)) {
            warn(StandardWarning::OutOfRange, control.prompt, rangeText(control));
            return Failure{control.field};
        }
    }
    if (control.code && !isBlank(current))
        if (Outcome failed = checkCode(control, mode))
            return failed;
    if (control.check)
        if (const QString problem = control.check(*this); !problem.isEmpty()) {
            m_services.prompter.ask(Message::alert(caption(), problem));
            return Failure{control.field};
        }
    return std::nullopt;
}

FormModel::Outcome FormModel::checkCode(const Control &control, Mode mode)
{
    const CodeCheck &check = *control.code;
    data::Company &company = *m_services.session.company;
    data::Table &file = company.file(check.file);
    const data::KeyDef &key = file.schema().key(check.key);
    if (check.resolve && mode == Mode::Editing) {
        const std::optional<QString> resolved = check.resolve(*this, text(control.field));
        if (!resolved)
            return Failure{control.field};
        QString problem;
        if (const std::optional<data::FieldValue> code = parse(control, *resolved, problem))
            store(control.field, *code, mode);
    }
    std::unique_ptr<data::Record> found = file.schema().create();
    const auto wanted = [&](const data::FieldValue &code) {
        found->setValue(check.codeField.isEmpty() ? key.fields.last() : check.codeField, code);
        if (check.fill)
            check.fill(*this, *found);
    };
    const data::FieldValue typed = value(control.field);
    wanted(typed);
    bool present = bool(file.fetch(key.name, *found));
    // Codes are kept in capitals: "trk-101" typed finds TRK-101.
    if (const auto *text = std::get_if<QString>(&typed);
        !present && text && *text != text->toUpper()) {
        wanted(text->toUpper());
        present = bool(file.fetch(key.name, *found));
        if (present)
            store(control.field, text->toUpper(), mode);
        else
            wanted(typed);
    }
    if (!present) {
        if (check.lookup.isEmpty() && !check.lookUp) {
            warn(StandardWarning::NotInFile, control.prompt, check.file);
            return Failure{control.field};
        }
        // The list says why it opened: what was typed is not on file.
        QString prompt = control.prompt;
        prompt.remove(u'&');
        while (prompt.endsWith(u':') || prompt.endsWith(u' '))
            prompt.chop(1);
        m_services.session.lookupReason = u"%1 %2 is not on file."_s.arg(
            prompt.isEmpty() ? check.file : prompt, text(control.field));
        const std::optional<QString> chosen = openLookup(check, text(control.field));
        m_services.session.lookupReason.clear();
        if (!chosen)
            return Failure{control.field};
        QString problem;
        const std::optional<data::FieldValue> picked = parse(control, *chosen, problem);
        if (!picked)
            return Failure{control.field};
        wanted(*picked);
        if (!file.fetch(key.name, *found)) {
            warn(StandardWarning::NotInFile, control.prompt, check.file);
            return Failure{control.field};
        }
        store(control.field, *picked, mode);
    }
    const QString accepted = text(control.field);
    if (m_acceptedCodes.value(control.field) == accepted)
        return std::nullopt;
    if (check.allowed && !check.allowed(*this, *found))
        return Failure{control.field};
    if (mode == Mode::Editing) {
        m_acceptedCodes.insert(control.field, accepted);
        if (check.accepted)
            check.accepted(*this, *found);
    }
    return std::nullopt;
}

std::optional<QString> FormModel::openLookup(const CodeCheck &check, const QString &current)
{
    if (check.lookUp)
        return check.lookUp(*this, current);
    if (check.beforeLookup)
        check.beforeLookup(*this);
    return m_services.picker.pick(check.lookup, current);
}

FormModel::Outcome FormModel::checkAll()
{
    if (!isEditable())
        return std::nullopt;
    for (const Control *control : std::as_const(m_controls)) {
        if (!isShown(*control) || !isEnabled(*control))
            continue;
        if (Outcome failed = checkControl(*control, Mode::Final)) {
            notify();
            return failed;
        }
    }
    if (m_definition.finalCheck)
        if (const std::optional<Refusal> refusal = m_definition.finalCheck(*this)) {
            m_services.prompter.ask(refusal->message);
            notify();
            return Failure{refusal->field};
        }
    notify();
    return std::nullopt;
}

bool FormModel::saveAndStay()
{
    if (checkAll() || !save())
        return false;
    if (m_request == data::Request::Insert)
        m_request = data::Request::Change;
    m_original = m_record->clone();
    for (const Control *control : std::as_const(m_controls))
        if (control->code)
            m_acceptedCodes.insert(control->field, text(control->field));
    rememberShown();
    notify();
    return true;
}

std::optional<QString> FormModel::pick(const QString &lookup, const QString &current)
{
    return m_services.picker.pick(lookup, current);
}

bool FormModel::refuses(data::Request request)
{
    const auto &refuse = m_definition.refuseSave ? m_definition.refuseSave : m_definition.refuse;
    return refuse && refuse(m_services.session, m_services.prompter, request);
}

bool FormModel::isChanged() const
{
    for (const data::FieldDef &field : schema().fields)
        if (field.get(*m_record) != field.get(*m_shownRecord))
            return true;
    return m_values != m_shownValues;
}

bool FormModel::save()
{
    data::Session &session = m_services.session;
    if (m_request == data::Request::View)
        return true;
    if (refuses(m_request))
        return false;
    if (m_definition.beforeSave)
        if (const QString problem = m_definition.beforeSave(*this); !problem.isEmpty()) {
            m_services.prompter.ask(Message::alert(caption(), problem));
            return false;
        }
    data::Record &buffer = session.buffer(schema());
    if (m_request == data::Request::Delete) {
        if (warn(StandardWarning::ConfirmDelete) != 1)
            return false;
        std::unique_ptr<data::Record> stored = m_original->clone();
        if (!table().remove(*stored)) {
            warn(StandardWarning::DeleteFailed, m_definition.file);
            return false;
        }
        logActivity(u"Deleted "_s, *m_original);
    } else {
        std::unique_ptr<data::Record> record = m_record->clone();
        const data::FileStatus status = m_request != data::Request::Insert
                                            ? table().updateIfUnchanged(*record, *m_original)
                                        : m_definition.insert ? m_definition.insert(*this, *record)
                                                              : table().insert(*record);
        if (!status) {
            const data::FileError &error = status.error();
            if (error.code == data::FileErrorCode::DuplicateKey) {
                const data::KeyDef *key = schema().firstUniqueKey();
                warn(StandardWarning::DuplicateKey,
                     key ? schema().prefix + u':' + key->name : QString());
            } else if (error.code == data::FileErrorCode::RecordChanged) {
                // Another station changed the record: show theirs, keep the form open.
                warn(StandardWarning::ChangedElsewhere);
                if (table().reread(*m_original)) {
                    m_record = m_original->clone();
                    rememberShown();
                    notify();
                }
            } else {
                warn(m_request == data::Request::Insert ? StandardWarning::InsertFailed
                                                        : StandardWarning::UpdateFailed,
                     error.text());
            }
            return false;
        }
        if (m_request == data::Request::Insert)
            logActivity(u"Added "_s, *record);
        else if (isChanged())
            logActivity(u"Changed "_s, *record);
        buffer.assign(*record);
        m_record = std::move(record);
    }
    m_saved = true;
    session.globalResponse = data::Response::Completed;
    if (m_definition.saved)
        m_definition.saved(*this);
    return true;
}

FormModel::CancelAnswer FormModel::askCancel(bool typing)
{
    if (!isEditable() || (!typing && !isChanged()))
        return CancelAnswer::Close;
    if (m_request == data::Request::Insert)
        return warn(StandardWarning::ConfirmCancel) == 1 ? CancelAnswer::Close : CancelAnswer::Stay;
    switch (warn(StandardWarning::SaveChanges)) {
    case 1:
        return CancelAnswer::Save;
    case 2:
        return CancelAnswer::Close;
    default:
        return CancelAnswer::Stay;
    }
}

void FormModel::logActivity(const QString &verb, const data::Record &record)
{
    if (m_definition.activity)
        data::logUserActivity(m_services.session, m_services.clock, m_definition.activity->area,
                              verb + m_definition.activity->describe(record));
}

} // namespace qaveq::forms
