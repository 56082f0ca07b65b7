#include "cli/json_output.h"

#include <QJsonDocument>

namespace vandorelle::cli {

namespace {

void print(Console &console, const QJsonDocument &document, JsonLayout layout)
{
    QByteArray text = document.toJson(layout == JsonLayout::OneLine ? QJsonDocument::Compact
                                                                    : QJsonDocument::Indented);
    while (text.endsWith('\n'))
        text.chop(1);
    console.out(QString::fromUtf8(text));
}

} // namespace

QJsonValue numberOrNull(std::optional<double> value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

void printJson(Console &console, const QJsonObject &object, JsonLayout layout)
{
    print(console, QJsonDocument(object), layout);
}

void printJson(Console &console, const QJsonArray &array)
{
    print(console, QJsonDocument(array), JsonLayout::Indented);
}

} // namespace vandorelle::cli
