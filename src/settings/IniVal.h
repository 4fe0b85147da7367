// The settings store: a component that keeps the state of its owner form in
// an ini file with no per-setting code. It walks the form's component list
// and saves or restores, under each component's name, the Qt properties
// "Text" (string), "Value" (string or integer) and "Checked" (bool): for the
// main window the check marks of its menu items and actions.
//
// Loaded with Automatic on, it chains itself into the form's OnCreate and
// OnDestroy: the form's creation handler runs first (with the store as its
// sender) and the store loads after it; at destruction the store saves
// before the form's destruction handler runs (again with the store as
// sender).
#pragma once

#include <QString>

#include "toolkit/Component.h"

class TForm;

class TIniVal : public TComponent {
    Q_OBJECT
public:
    explicit TIniVal(QObject* owner = nullptr);

    // Chain into the owner form's creation and destruction events when
    // loaded (default true). Switched off later, the chained hooks stay but
    // neither load nor save.
    bool Automatic() const { return automatic_; }
    void setAutomatic(bool on) { automatic_ = on; }

    // The settings file; empty until loaded, when it becomes the program
    // folder followed by the component's Name. Setting it stores the text.
    QString IniFileName() const { return iniFileName_; }
    void setIniFileName(const QString& name) { iniFileName_ = name; }

    // The file loads and saves go to, worked out anew from IniFileName each
    // time: blanks and control characters trimmed, the file-name part in
    // upper case, ".INI" appended when the name holds no "." at all.
    QString EffectiveFileName() const;

    // Restores every saved property of the owner's components from the file;
    // a missing file, section or key, or a value that is no integer where a
    // number is expected, leaves the property as it is.
    void Load();
    // Writes every saved property; raises EIniFileException "Unable to write
    // to <effective file name>" when the file cannot be written, which then
    // keeps its previous content.
    void Save();

    // Fills in the default file name, then chains into the owner form.
    void Loaded() override;

private:
    TForm* OwnerForm() const;
    void Chain(TForm* form);

    bool automatic_ = true;
    QString iniFileName_;
};
