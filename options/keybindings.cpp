#include "keybindings.h"

#include "configkeys.h"

namespace {

// Keys the score box could not tell apart or needs for itself (digits, Enter,
// arrows, F1, F2, F10) have no name and so cannot be bound.
QString namedKey(int keyCode)
{
    switch (keyCode) {
    case 8: return QStringLiteral("Backspace");
    case 17: return QStringLiteral("Ctrl");
    case 19: return QStringLiteral("Pause/Break");
    case 33: return QStringLiteral("Page Up");
    case 34: return QStringLiteral("Page Down");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 45: return QStringLiteral("Insert");
    case 46: return QStringLiteral("Delete");
    case 106: return QStringLiteral("Numpad *");
    case 111: return QStringLiteral("Numpad /");
    case 122: return QStringLiteral("F11");
    case 123: return QStringLiteral("F12");
    case 186: return QStringLiteral(";");
    case 188: return QStringLiteral(",");
    case 191: return QStringLiteral("/");
    case 192: return QStringLiteral("`");
    case 219: return QStringLiteral("[");
    case 220: return QStringLiteral("\\");
    case 221: return QStringLiteral("]");
    case 222: return QStringLiteral("\"");
    default: return {};
    }
}

} // namespace

QString KeyCodeToStr(int keyCode)
{
    if (keyCode >= 'A' && keyCode <= 'Z')
        return QString(QChar(keyCode));
    if (keyCode >= 114 && keyCode <= 120)
        return QStringLiteral("F") + QString::number(keyCode - 111);
    return namedKey(keyCode);
}

qint16 defaultKeyCode(qint16 ConfigRecord::*field)
{
    return qint16(QString(configkeys::keyOf(field).defaultText).toInt());
}

KeyBindings::KeyBindings()
{
    for (const KeyLabelField& f : KeyLabelFields)
        m_bindings.append({QString::fromLatin1(f.labelName), 0, KeyCodeToStr(0)});
}

int KeyBindings::indexOf(const QString& labelName) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_bindings.at(i).name == labelName)
            return i;
    }
    return None;
}

void KeyBindings::SetKeyTextFromTags()
{
    for (Binding& b : m_bindings)
        b.caption = KeyCodeToStr(b.code);
}

QString KeyBindings::IsKeyInUse(int keyCode) const
{
    for (const Binding& b : m_bindings) {
        if (b.code == keyCode)
            return b.name;
    }
    return QStringLiteral("None");
}

void KeyBindings::showIdle(int index)
{
    m_bindings[index].caption = KeyCodeToStr(m_bindings.at(index).code);
}

bool KeyBindings::ChooseKey(int index)
{
    if (index < 0 || index >= count())
        return false;
    const int waiting = m_active;
    if (waiting != None)
        showIdle(waiting);
    if (waiting == None || m_bindings.at(waiting).name != m_bindings.at(index).name) {
        m_bindings[index].caption = PressAnyKey;
        m_active = index;
        return true;
    }
    // The waiting label clicked again gives up the wait.
    m_active = None;
    return false;
}

void KeyBindings::KeyChosen(int keyCode)
{
    if (m_active == None)
        return;
    QString name = KeyCodeToStr(keyCode);
    const QString owner = IsKeyInUse(keyCode);
    if (owner != QLatin1String("None") && owner != m_bindings.at(m_active).name)
        name.clear(); // another binding has it
    if (!name.isEmpty())
        m_bindings[m_active].code = qint16(keyCode);
    if (!name.isEmpty() || keyCode == CancelWait) {
        showIdle(m_active);
        m_active = None;
    } else {
        m_bindings[m_active].caption = ChooseAnother;
    }
}

void KeyBindings::resetWhere(bool quickKeys)
{
    for (int i = 0; i < count(); ++i) {
        if (KeyLabelFields.at(i).quickKey == quickKeys)
            m_bindings[i].code = defaultKeyCode(KeyLabelFields.at(i).field);
    }
}

void KeyBindings::resetCommandKeys()
{
    resetWhere(false);
}

void KeyBindings::resetQuickKeys()
{
    resetWhere(true);
}

void KeyBindings::loadFrom(const ConfigRecord& record)
{
    for (int i = 0; i < count(); ++i)
        m_bindings[i].code = record.*(KeyLabelFields.at(i).field);
}

void KeyBindings::storeInto(ConfigRecord& record) const
{
    for (int i = 0; i < count(); ++i)
        record.*(KeyLabelFields.at(i).field) = m_bindings.at(i).code;
}
