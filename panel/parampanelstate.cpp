// The panel as a whole: what its controls say (for the buttons' frames) and
// how a reader's report is written into them.

#include "parampanel.h"

#include "base/convert.h"
#include "ui/qtext.h"

#include <QCheckBox>
#include <QRadioButton>

namespace rovi::panel {

PanelSnapshot ParamPanel::Snapshot() const
{
    PanelSnapshot s;
    const auto mirrors = Mirrors();
    for (std::size_t i = 0; i < mirrors.size(); ++i)
        s.mirrors[i] = ToStd(mirrors[i]->text());
    s.id_text = ToStd(Edit_set2->text());
    s.dip_switch = RadioButton1->isChecked();
    s.wiegand_output = RadioButton2->isChecked();
    s.wiegand_index = ComboBox_wg->currentIndex();
    s.serial_fmt_index = ComboBox3->currentIndex();
    s.baud_index = ComboBox_btl->currentIndex();
    s.external_power = RadioButton3->isChecked();
    s.software_power = RadioButton4->isChecked();
    s.power_index = ComboBox_gl->currentIndex();
    s.leave_mode = CheckBox1->isChecked();
    s.reread_unit = ComboBox1->currentIndex();
    s.reread_text = ToStd(edit4->text());
    s.send_unit = ComboBox2->currentIndex();
    s.send_text = ToStd(Edit1->text());
    return s;
}

void ParamPanel::ClearMirrors()
{
    for (RuleEdit *mirror : Mirrors())
        mirror->clear();
}

// The controls are set as a user would set them, so each group's rules run
// and may show their messages. The order matters and is kept on purpose:
// - within a group, the controls a mirror rule reads (the radio choice, the
//   mode check box, the unit lists) are set before the control whose change
//   writes the mirror from them (the list, the time box), so the last rule
//   to run in each group sees the whole report;
// - the mirrors are written last, so they keep the reported bytes whatever
//   the rules wrote into them meanwhile (a byte no rule gives, such as a
//   control byte, or a reread time in seconds of 0, stays as reported).
void ParamPanel::ApplyReport(const Frame &report)
{
    const ParameterSet p = DecodeReport(report);
    if (p.id_addr)
        Edit_set2->setText(QString::number(*p.id_addr));
    if (p.wiegand) {
        if (const auto *out = std::get_if<WiegandOutput>(&*p.wiegand)) {
            RadioButton2->setChecked(true);
            ComboBox_wg->setCurrentIndex(out->format);
        } else {
            RadioButton1->setChecked(true);
        }
    }
    if (p.serial_fmt)
        ComboBox3->setCurrentIndex(*p.serial_fmt);
    if (p.baud)
        ComboBox_btl->setCurrentIndex(*p.baud);
    if (p.power) {
        if (const auto *sw = std::get_if<SoftwareControl>(&*p.power)) {
            RadioButton4->setChecked(true);
            ComboBox_gl->setCurrentIndex(sw->level);
        } else {
            RadioButton3->setChecked(true);
        }
    }
    if (p.reread) {
        CheckBox1->setChecked(p.reread->leave_mode);
        ComboBox1->setCurrentIndex(p.reread->unit == TimeUnitReread::minutes ? 0 : 1);
        edit4->setText(QString::number(p.reread->time));
    }
    if (p.send_time) {
        ComboBox2->setCurrentIndex(p.send_time->unit == TimeUnitSend::seconds ? 0 : 1);
        Edit1->setText(QString::number(p.send_time->time));
    }
    const FieldBytes fields = FieldBytesOf(report);
    const auto mirrors = Mirrors();
    for (std::size_t i = 0; i < kFieldCount; ++i)
        mirrors[i]->setText(ToQ(IntToHex2(fields[i])));
}

} // namespace rovi::panel
