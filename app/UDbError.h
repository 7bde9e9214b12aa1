#pragma once

#include <stdexcept>

#include <QString>

// The error the data layer throws: carries the driver's text so that the
// application's single handler can show what the engine said.
class EDatabaseError : public std::runtime_error
{
public:
    explicit EDatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString &Message() const { return FMessage; }

private:
    QString FMessage;
};
