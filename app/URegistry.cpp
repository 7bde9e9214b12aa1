#include "URegistry.h"

#include <QSettings>

#include "UComm.h"
#include "UError.h"

bool TSettingsRegistry::OpenKey(const QString &key, bool canCreate)
{
    Q_UNUSED(canCreate);
    // QSettings roots every store at Software\<organisation>: the first key
    // below Software becomes the organisation, deeper ones its groups.
    if (key.compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0 && FOrganisation.isEmpty())
        return true;
    if (FOrganisation.isEmpty())
        FOrganisation = key;
    else
        FPath = FPath.isEmpty() ? key : FPath + QLatin1Char('/') + key;
    return true;
}

QString TSettingsRegistry::ReadString(const QString &name)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, FOrganisation);
    return settings.value(FPath + QLatin1Char('/') + name).toString();
}

void TSettingsRegistry::WriteString(const QString &name, const QString &value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, FOrganisation);
    settings.setValue(FPath + QLatin1Char('/') + name, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EExamoraError(QStringLiteral("registry value cannot be written"));
}

bool RecordApplicationInfo(TRegistry &registry, const QString &exePath)
{
    try {
        const QString flag = GetSystemFlagText();
        if (!registry.OpenKey(QStringLiteral("Software"), false) || !registry.OpenKey(QStringLiteral("Quorvane"), true)
            || !registry.OpenKey(flag, true))
            return false;
        const auto store = [&registry](const QString &name, const QString &value) {
            if (registry.ReadString(name) != value)
                registry.WriteString(name, value);
        };
        store(QStringLiteral("ApplicationName"), QStringLiteral("Velmaris"));
        if (registry.ReadString(QStringLiteral("ApplicationVersion")) != GetVersionText())
            registry.WriteString(QStringLiteral("ApplicationVersion"), GetVersionText());
        store(QStringLiteral("ApplicationSysFlag"), flag);
        store(QStringLiteral("ApplicationPath"), RunContext.AppPath);
        store(QStringLiteral("ApplicationExeName"), exePath);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
