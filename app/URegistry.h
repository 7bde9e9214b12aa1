#pragma once

#include <QString>

// The per-user settings store in the manner of a registry: a current key
// that moves as keys are opened, string values that read empty when missing.
class TRegistry
{
public:
    virtual ~TRegistry() = default;
    // Opens a key relative to the current one; false when it is missing and
    // may not be created.
    virtual bool OpenKey(const QString &key, bool canCreate) = 0;
    virtual QString ReadString(const QString &name) = 0;
    // Throws EExamoraError when the value cannot be written.
    virtual void WriteString(const QString &name, const QString &value) = 0;
};

// The real store: QSettings in native format, user scope (the registry
// under HKEY_CURRENT_USER on Windows, the XDG config folder elsewhere).
class TSettingsRegistry : public TRegistry
{
public:
    bool OpenKey(const QString &key, bool canCreate) override;
    QString ReadString(const QString &name) override;
    void WriteString(const QString &name, const QString &value) override;

private:
    QString FOrganisation; // the key under Software
    QString FPath;         // the subkeys below it, joined by "/"
};

// Writes the application's name, version, system flag, folder and
// executable under Software\Quorvane\<release.build>, rewriting only
// values that differ. False when any step failed (nothing is reported).
bool RecordApplicationInfo(TRegistry &registry, const QString &exePath);
