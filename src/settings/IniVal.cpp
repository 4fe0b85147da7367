#include "IniVal.h"

#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <exception>
#include <optional>
#include <unordered_map>

#include "platform/IniFiles.h"
#include "platform/Platform.h"
#include "toolkit/Form.h"

namespace {

enum class SavedKind { String, Integer, Boolean };

// The properties that are saved, in the order they are handled for one
// component. Names match with regard to case: Qt's own lower-case "text" and
// "checked" (a menu item's caption, a line edit's text) are not ours to save.
// A Value of another type (an LED's boolean Value) is not saved.
struct SavedSpec {
    const char* name;
    int type;
    SavedKind kind;
};
constexpr SavedSpec kSaved[] = {
    {"Text", QMetaType::QString, SavedKind::String},
    {"Value", QMetaType::QString, SavedKind::String},
    {"Value", QMetaType::Int, SavedKind::Integer},
    {"Checked", QMetaType::Bool, SavedKind::Boolean},
};

struct SavedProperty {
    QMetaProperty property;
    SavedKind kind;
};

std::optional<QMetaProperty> Published(const QObject* c, const char* name, int type)
{
    const QMetaObject* meta = c->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        return std::nullopt;
    const QMetaProperty p = meta->property(index);
    // A property that cannot be both read and written cannot make the trip
    // to the file and back.
    if (!p.isReadable() || !p.isWritable() || p.metaType().id() != type)
        return std::nullopt;
    return p;
}

// A component's saved properties depend on its class alone, and a form
// holds hundreds of components of a dozen classes: each class's list is
// worked out once (per thread, as stores may live on any).
const QList<SavedProperty>& SavedProperties(const QObject* c)
{
    thread_local std::unordered_map<const QMetaObject*, QList<SavedProperty>> kept;
    const QMetaObject* meta = c->metaObject();
    if (auto it = kept.find(meta); it != kept.end())
        return it->second;
    QList<SavedProperty> list;
    for (const SavedSpec& spec : kSaved)
        if (const auto p = Published(c, spec.name, spec.type))
            list.append({*p, spec.kind});
    return kept.emplace(meta, list).first->second;
}

// Trimmed as the toolkit trims: everything up to the blank counts as blank
// or control character.
QString TrimmedOfControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The hooks the store installs into its form. Each keeps the handler it
// replaced; the store may go before the form does, and then the hook only
// passes the event on.
struct CreationHook {
    QPointer<TIniVal> store;
    TNotifyEvent kept;

    void operator()(QObject* sender) const
    {
        if (kept)
            kept(store ? store.data() : sender);
        if (store && store->Automatic())
            store->Load();
    }
};

struct DestructionHook {
    QPointer<TIniVal> store;
    TNotifyEvent kept;

    // A save the system refuses is reported after the form's own handler
    // has run: its clean-up must not depend on whether the file was writable.
    void operator()(QObject* sender) const
    {
        std::exception_ptr failure;
        if (store && store->Automatic()) {
            try {
                store->Save();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        if (kept)
            kept(store ? store.data() : sender);
        if (failure)
            std::rethrow_exception(failure);
    }
};

// Whether a creation handler is, or passes the event on to, this store's
// hook (two stores on one form chain around each other).
bool ChainedIn(const TNotifyEvent& handler, const TIniVal* store)
{
    for (const CreationHook* hook = handler.target<CreationHook>(); hook; hook = hook->kept.target<CreationHook>())
        if (hook->store == store)
            return true;
    return false;
}

} // namespace

TIniVal::TIniVal(QObject* owner)
    : TComponent(owner)
{
}

QString TIniVal::EffectiveFileName() const
{
    QString name = TrimmedOfControls(iniFileName_);
    // Only the file-name part is upper-cased: on Windows case made no
    // difference, but here an upper-cased folder is another folder, one that
    // usually does not exist.
    for (qsizetype i = name.lastIndexOf(QLatin1Char('/')) + 1; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (c >= u'a' && c <= u'z')
            name[i] = QChar(char16_t(c - u'a' + u'A'));
    }
    // A "." anywhere counts, also in the folder part: with the program in
    // such a folder the file is called INIVAL, without extension, and the
    // files saved there rely on it.
    if (!name.contains(QLatin1Char('.')))
        name += QStringLiteral(".INI");
    return name;
}

TForm* TIniVal::OwnerForm() const
{
    return qobject_cast<TForm*>(Owner());
}

void TIniVal::Load()
{
    const TForm* form = OwnerForm();
    if (!form)
        return;
    const QString section = form->Name();
    // Every key first, then one read of the file for all of them: a load
    // reads the file once, not once per key, so that a huge or damaged file
    // costs one pass over it.
    struct Restored {
        QObject* component;
        SavedProperty saved;
    };
    QList<Restored> restored;
    QList<TIniKey> keys;
    for (QObject* c : form->Components()) {
        const QString key = c->objectName();
        if (key.isEmpty())
            continue; // a nameless component has no key of its own
        for (const SavedProperty& saved : SavedProperties(c)) {
            restored.append({c, saved});
            keys.append({section, key});
        }
    }
    const QList<std::optional<QString>> values = TIniFile(EffectiveFileName()).ReadStrings(keys);
    for (qsizetype i = 0; i < restored.size(); ++i) {
        QObject* c = restored[i].component;
        const SavedProperty& saved = restored[i].saved;
        const std::optional<QString>& text = values[i];
        const QVariant current = saved.property.read(c);
        int number = 0;
        const bool isNumber = text && TryStrToInt(*text, number);
        switch (saved.kind) {
        case SavedKind::String:
            saved.property.write(c, text.value_or(current.toString()));
            break;
        case SavedKind::Integer:
            saved.property.write(c, isNumber ? number : current.toInt());
            break;
        case SavedKind::Boolean:
            // Through the component's own setter: a menu item shows its
            // mark, an action tells its clients.
            saved.property.write(c, isNumber ? number != 0 : current.toBool());
            break;
        }
    }
}

void TIniVal::Save()
{
    const TForm* form = OwnerForm();
    if (!form)
        return;
    const QString section = form->Name();
    QList<TIniEntry> entries;
    for (QObject* c : form->Components()) {
        const QString key = c->objectName();
        if (key.isEmpty())
            continue;
        for (const SavedProperty& saved : SavedProperties(c)) {
            const QVariant value = saved.property.read(c);
            QString text;
            switch (saved.kind) {
            case SavedKind::String:
                text = value.toString();
                break;
            case SavedKind::Integer:
                text = QString::number(value.toInt());
                break;
            case SavedKind::Boolean:
                text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
                break;
            }
            entries.append({section, key, text});
        }
    }
    // One replacement of the file for the whole save rather than one per
    // key: the same content, synced once. An installed copy's folder is made
    // now, at the first write; if it cannot be, the write says so.
    CurrentPlatform().CreateProgramFolder();
    TIniFile ini(EffectiveFileName());
    ini.WriteStrings(entries);
}

void TIniVal::Loaded()
{
    TComponent::Loaded();
    if (iniFileName_.isEmpty()) {
        Platform& platform = CurrentPlatform();
        iniFileName_ = platform.ProgramFolder() + Name();
        // A "." in the path of the program's own folder drops the extension,
        // and files saved there rely on it. An installed copy's folder is the
        // user's configuration folder, whose ".config" nobody chose: there
        // the file is INIVAL.INI, as beside any other program.
        if (platform.ProgramFolder() != platform.ExecutableFolder())
            iniFileName_ += QStringLiteral(".INI");
    }
    if (automatic_)
        if (TForm* form = OwnerForm())
            Chain(form);
}

void TIniVal::Chain(TForm* form)
{
    if (ChainedIn(form->OnCreate, this))
        return;
    form->OnCreate = CreationHook{this, form->OnCreate};
    form->OnDestroy = DestructionHook{this, form->OnDestroy};
}
