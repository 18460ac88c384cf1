// A control's form name (按钮1, 编辑框3, …) is its QObject name, how the
// program's window description and the tests find it. Names are texts (GBK),
// like every text in the system.
#pragma once

#include <QString>
#include <string_view>

class QObject;

namespace ui {

void setFormName(QObject* object, std::string_view gbkName);
// For findChild in tests and window descriptions.
QString formName(std::string_view gbkName);

}  // namespace ui
