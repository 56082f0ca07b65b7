#pragma once

#include "config/store.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vandorelle {

// The store field a control edits, for one motor.
using FieldRef = int32_t &(*)(ConfigStore &, int motor);
template <auto Table, auto Field>
int32_t &fieldOf(ConfigStore &s, int motor)
{
    return (s.*Table)[motor].*Field;
}

// The push-button duration is one code read on one of two scales; each scale has its box.
enum class TastScale { Any, Wired, Radio };

// A combo box of a per-motor editor: the items it shows and the field it edits.
struct FieldSpec {
    const char *name; // the control's object name
    const QStringList &(*items)();
    FieldRef field;
    const char *hint = nullptr;
    bool symbols = false;  // symbol-font texts, shown as glyphs
    bool borrowed = false; // a field of another editor's record, which names it too
    TastScale scale = TastScale::Any;
};

// A caption and the controls under it; all of them follow the on/off choice.
struct CaptionSpec {
    const char *label;
    const char *caption;
    std::vector<const char *> controls;
};

// What a per-motor editor shows of the store: its group box, its combo boxes and their
// captions. The window builds its editors from these; a comparison of two configurations
// names a setting by them.
struct EditorSpec {
    const char *prefix;
    MotorTable table;
    const char *groupCaption;
    const char *onOff; // the on/off combo; its FieldSpec is in `fields`
    std::vector<FieldSpec> fields;
    std::vector<CaptionSpec> captions;

    const FieldSpec *field(const char *name) const; // nullptr for a display or label
    const CaptionSpec *caption(const char *label) const;
};

// The caption of the motor and on/off boxes ends with this text over the on/off box.
inline const QString kOnOffCaption = QStringLiteral("EIN / AUS");

const EditorSpec &shadingSpec();      // BA
const EditorSpec &dawnSpec();         // DM
const EditorSpec &duskSpec();         // DA
const EditorSpec &windSpec();         // EW
const EditorSpec &rainSpec();         // ER
const EditorSpec &humiditySpec();     // RelF
const EditorSpec &proportionalSpec(); // PT
const EditorSpec &insideSpec();       // IT
const EditorSpec &outsideSpec();      // AT
const EditorSpec &heatingSpec();      // Heiz
const EditorSpec &pushButtonSpec();   // Tast
const EditorSpec &reversingSpec();    // RA

// Every per-motor editor, in the order of the window's tabs.
const std::vector<const EditorSpec *> &perMotorEditors();

// A caption on one line, as it reads: "Aktivie- rungszeit" joined to "Aktivierungszeit",
// "Grenz- Lux-Wert" to "Grenz-Lux-Wert"; blank runs become one blank.
QString oneLineCaption(const QString &caption);
// A caption with a unit after the box ("Bei Wingeschwindigkeit größer        km/h")
// split into the text before the box and the unit; unit empty for the others.
struct CaptionParts {
    QString text;
    QString unit;
};
CaptionParts captionParts(const QString &caption);

} // namespace vandorelle
