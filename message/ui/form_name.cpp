#include "form_name.h"

#include "gbk.h"

#include <QObject>

namespace ui {

QString formName(std::string_view gbkName) { return gbk::toQString(gbkName); }

void setFormName(QObject* object, std::string_view gbkName)
{
    object->setObjectName(formName(gbkName));
}

}  // namespace ui
