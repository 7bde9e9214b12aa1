#pragma once

#include <stdexcept>

#include <QString>

// The base of every error this system throws: it carries the text the user
// is shown, so every handler reads it the same way through Message().
class EExamoraError : public std::runtime_error
{
public:
    explicit EExamoraError(const QString &message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString &Message() const { return FMessage; }

private:
    QString FMessage;
};
