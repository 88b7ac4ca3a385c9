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
    for (std::size_t i = 0; i < kFieldCount; ++i)
        s.mirrors[i] = ToStd(mirrors_[i]->text());
    s.id_text = ToStd(idAddress_->text());
    s.dip_switch = wiegand_.FixedChosen();
    s.wiegand_output = wiegand_.ListedChosen();
    s.wiegand_index = wiegand_.ListIndex();
    s.serial_fmt_index = serialFormat_->currentIndex();
    s.baud_index = baudRate_->currentIndex();
    s.external_power = power_.FixedChosen();
    s.software_power = power_.ListedChosen();
    s.power_index = power_.ListIndex();
    s.leave_mode = continuousReread_->isChecked();
    s.reread_unit = rereadUnit_->currentIndex();
    s.reread_text = ToStd(rereadTime_->text());
    s.send_unit = sendTimeUnit_->currentIndex();
    s.send_text = ToStd(sendTime_->text());
    return s;
}

void ParamPanel::ClearMirrors()
{
    for (RuleEdit *mirror : mirrors_)
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
    ApplyFields(FieldBytesOf(report));
}

void ParamPanel::ApplyProfile(const FieldBytes &fields)
{
    ApplyFields(fields);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        if (fields[i] == 0)
            mirrors_[i]->clear();
}

void ParamPanel::ApplyFields(const FieldBytes &fields)
{
    const ParameterSet p = DecodeFields(fields);
    if (p.id_addr)
        idAddress_->setText(QString::number(*p.id_addr));
    if (p.wiegand) {
        const auto *out = std::get_if<WiegandOutput>(&*p.wiegand);
        wiegand_.Show(out ? std::optional<int>(out->format) : std::nullopt);
    }
    if (p.serial_fmt)
        serialFormat_->setCurrentIndex(*p.serial_fmt);
    if (p.baud)
        baudRate_->setCurrentIndex(*p.baud);
    if (p.power) {
        const auto *sw = std::get_if<SoftwareControl>(&*p.power);
        power_.Show(sw ? std::optional<int>(sw->level) : std::nullopt);
    }
    if (p.reread) {
        continuousReread_->setChecked(p.reread->leave_mode);
        rereadUnit_->setCurrentIndex(p.reread->unit == TimeUnitReread::minutes ? 0 : 1);
        rereadTime_->setText(QString::number(p.reread->time));
    }
    if (p.send_time) {
        sendTimeUnit_->setCurrentIndex(p.send_time->unit == TimeUnitSend::seconds ? 0 : 1);
        sendTime_->setText(QString::number(p.send_time->time));
    }
    for (std::size_t i = 0; i < kFieldCount; ++i)
        mirrors_[i]->setText(ToQ(IntToHex2(fields[i])));
}

} // namespace rovi::panel
