// Group box: a framed panel with a GBK caption. Its children are placed from
// the group box's own top-left corner.
#pragma once

#include <QGroupBox>

#include <string_view>

namespace ui {

class GroupBox : public QGroupBox
{
    Q_OBJECT

public:
    GroupBox(std::string_view formName, std::string_view caption, QWidget* parent);
};

}  // namespace ui
