#include "protocol/device_family.h"

namespace vandorelle {

namespace {
// 1-based character of the model string; missing characters compare as nothing.
QChar at(const QString &model, int position)
{
    return position <= model.size() ? model.at(position - 1) : QChar();
}
} // namespace

ModelEvaluation evaluateModel(const QString &model)
{
    ModelEvaluation e;
    DeviceFlags &f = e.flags;
    if (at(model, 14) == u'S')
        f.ShadingFamily = true;
    if (at(model, 9) == u'W')
        f.ConservatoryFamily = true;
    if (at(model, 15) == u'T')
        f.TastPresent = f.GzsPresent = true;
    if (at(model, 15) == u'F')
        f.TastFunk = f.TastPresent = true;
    if (at(model, 16) == u'G')
        f.GzsPresent = true;

    const QChar size = at(model, 13);
    if (size == u'9')
        return e;
    if (size < u'0' || size > u'9') {
        e.known = false;
        return e;
    }
    f.BankModel = false;
    if (size < u'8')
        f.EightEntries = false;
    return e;
}

} // namespace vandorelle
