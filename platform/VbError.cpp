#include "platform/VbError.h"

namespace platform {

VbError::VbError(int number, QString source, QString description)
    : number_(number), source_(std::move(source)), description_(std::move(description)),
      what_(ErrorText(description_, number_).toStdString()) {}

QString ErrorText(const QString& description, int number)
{
    return description + QStringLiteral(" (") + QString::number(number) + QStringLiteral(")");
}

QString ErrorText(const VbError& error) { return ErrorText(error.description(), error.number()); }

QString ErrorText(const std::exception& error)
{
    if (auto* vb = dynamic_cast<const VbError*>(&error))
        return ErrorText(*vb);
    return ErrorText(QString::fromLocal8Bit(error.what()), 0);
}

void Raise(int number, const QString& source, const QString& description)
{
    throw VbError(number, source, description);
}

void RaiseObjectNotSet(const QString& source)
{
    Raise(vberr::ObjectNotSet, source, QStringLiteral("Object variable or With block variable not set"));
}

QString TextOrError(const std::function<QString()>& body)
{
    try {
        return body();
    } catch (const std::exception& e) {
        return ErrorText(e);
    } catch (...) {
        return ErrorText(QStringLiteral("Unknown error"), 0);
    }
}

}  // namespace platform
