#include "group_box.h"

#include "form_name.h"
#include "gbk.h"

namespace ui {

GroupBox::GroupBox(std::string_view formName, std::string_view caption, QWidget* parent)
    : QGroupBox(parent)
{
    setFormName(this, formName);
    setTitle(gbk::toQString(caption));
}

}  // namespace ui
