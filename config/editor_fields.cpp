#include "config/editor_fields.h"

#include <QRegularExpression>

namespace vandorelle {

const FieldSpec *EditorSpec::field(const char *name) const
{
    for (const FieldSpec &f : fields)
        if (qstrcmp(f.name, name) == 0)
            return &f;
    return nullptr;
}

const CaptionSpec *EditorSpec::caption(const char *label) const
{
    for (const CaptionSpec &c : captions)
        if (qstrcmp(c.label, label) == 0)
            return &c;
    return nullptr;
}

const std::vector<const EditorSpec *> &perMotorEditors()
{
    static const std::vector<const EditorSpec *> all{
        &shadingSpec(),      &dawnSpec(),    &duskSpec(),    &windSpec(),    &rainSpec(),
        &humiditySpec(),     &proportionalSpec(), &insideSpec(), &outsideSpec(), &heatingSpec(),
        &pushButtonSpec(),   &reversingSpec(),
    };
    return all;
}

QString oneLineCaption(const QString &caption)
{
    // A word broken over two lines goes on in lower case; a compound in upper case. An
    // abbreviation after the hyphen ("Motor- bzw. Raumname") is no broken word.
    static const QRegularExpression brokenWord(QStringLiteral("(?<=\\w)- (?=\\p{Ll}+(\\s|$))"));
    static const QRegularExpression compound(QStringLiteral("(?<=[\\w.])- (?=\\p{Lu})"));
    QString text = caption.simplified();
    text.replace(brokenWord, QString());
    text.replace(compound, QStringLiteral("-"));
    return text;
}

CaptionParts captionParts(const QString &caption)
{
    // The window leaves a gap in the caption where its box stands; the unit follows it.
    static const QRegularExpression gap(QStringLiteral(" {3,}"));
    const QRegularExpressionMatch m = gap.match(caption.trimmed());
    if (!m.hasMatch())
        return {oneLineCaption(caption), {}};
    const QString trimmed = caption.trimmed();
    return {oneLineCaption(trimmed.left(m.capturedStart())), oneLineCaption(trimmed.mid(m.capturedEnd()))};
}

} // namespace vandorelle
