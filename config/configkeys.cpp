#include "configkeys.h"

#include "datafiles.h"

#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <type_traits>

namespace configkeys {

// What the store holds for a key as plain text, or nothing. QSettings reads an
// unquoted value with commas in a hand-edited file as a list: join it back. Any
// other typed value ("@Variant(...)", "@ByteArray(...)") is not one of ours and
// counts as absent, so the key takes its default.
std::optional<StoredText> textInStore(const QSettings* settings, const SettingKey& key)
{
    if (!settings)
        return std::nullopt;
    const QVariant value = settings->value(key.path());
    QString text;
    switch (value.typeId()) {
    case QMetaType::QString:
        text = value.toString();
        break;
    case QMetaType::QStringList:
        text = value.toStringList().join(QLatin1String(", "));
        break;
    default:
        return std::nullopt;
    }
    const bool cut = text.size() > MaxStoredTextLength;
    return StoredText{cut ? text.left(MaxStoredTextLength) : text, cut};
}

namespace {

QString defaultTextOf(const SettingKey& key, const ConfigRecord& loadedSoFar, const QString& programFolder)
{
    switch (key.rule) {
    case DefaultRule::SameAsFormBack:
        return QString::number(loadedSoFar.FormBack);
    case DefaultRule::InProgramFolder:
        return dataFilePath(programFolder, key.defaultText);
    case DefaultRule::Fixed:
        break;
    }
    return key.defaultText;
}

void convertInto(QString& field, const SettingKey&, const std::optional<QString>& stored, const QString& fallback)
{
    field = stored.value_or(fallback);
}

// A value that does not convert must not stop the program at start-up: the key
// falls back to its default, whose text always converts.
void convertInto(bool& field, const SettingKey&, const std::optional<QString>& stored, const QString& fallback)
{
    std::optional<bool> value;
    if (stored)
        value = settingtext::booleanFromText(*stored);
    field = value ? *value : settingtext::booleanFromText(fallback).value_or(false);
}

template <typename T>
void convertInto(T& field, const SettingKey& key, const std::optional<QString>& stored, const QString& fallback)
{
    static_assert(std::is_integral_v<T>);
    std::optional<T> value;
    if (stored)
        value = settingtext::wholeNumberFromText<T>(*stored, key.rounding);
    field = value ? *value : settingtext::wholeNumberFromText<T>(fallback, key.rounding).value_or(T(0));
}

QString textOf(qint16 value) { return QString::number(value); }
QString textOf(qint32 value) { return QString::number(value); }
QString textOf(bool value) { return units::booleanText(value); }
QString textOf(const QString& value) { return value; }

} // namespace

bool isFeedPort(const QString& text)
{
    const std::optional<qint32> port = settingtext::wholeNumberFromText<qint32>(text, Rounding::Nearest);
    return port && *port >= 1024 && *port <= 65535;
}

bool isRuleSetName(const QString& text)
{
    static const QStringList names{QStringLiteral("Custom"), QStringLiteral("FIBA"), QStringLiteral("NBA"),
                                   QStringLiteral("NCAAM"), QStringLiteral("NCAAW"), QStringLiteral("NFHS")};
    return names.contains(text);
}

bool isControlToken(const QString& text)
{
    return text.size() >= 32 && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
    });
}

bool isIPv4Address(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return false;
    return std::all_of(parts.begin(), parts.end(), [](const QString& part) {
        bool ok = false;
        const int value = part.toInt(&ok);
        return ok && part.size() <= 3 && value >= 0 && value <= 255
            && std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); });
    });
}

const std::vector<const SettingKey*>& savedInOrder()
{
    static const std::vector<const SettingKey*> order = [] {
        std::vector<const SettingKey*> keys;
        for (const SettingKey& key : Table) {
            if (key.saveOrder != NotSavedByConfig)
                keys.push_back(&key);
        }
        std::sort(keys.begin(), keys.end(),
                  [](const SettingKey* a, const SettingKey* b) { return a->saveOrder < b->saveOrder; });
        return keys;
    }();
    return order;
}

const SettingKey& keyOf(const Field& field)
{
    const auto found = std::find_if(Table.begin(), Table.end(), [&](const SettingKey& key) { return key.field == field; });
    Q_ASSERT(found != Table.end());
    return *found;
}

void loadRecord(ConfigRecord& record, const QSettings* settings, const QString& programFolder)
{
    for (const SettingKey& key : Table) {
        const QString fallback = defaultTextOf(key, record, programFolder);
        std::optional<QString> stored;
        if (const std::optional<StoredText> found = textInStore(settings, key))
            stored = found->text;
        if (stored && key.accepts && !key.accepts(*stored))
            stored.reset();
        std::visit([&](auto member) { convertInto(record.*member, key, stored, fallback); }, key.field);
    }
}

QString storedText(const ConfigRecord& record, const SettingKey& key)
{
    return std::visit([&](auto member) { return textOf(record.*member); }, key.field);
}

} // namespace configkeys
