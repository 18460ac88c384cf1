// Who buzzed first. Taking a Buzz only appends to the buzz order and writes
// the raised count into 人数标签; that box's text-changed handler decides the
// question when the count becomes "1": lock every buzzer, announce the first
// buzzer's name, tell the host.
#pragma once

#include "buzz_order.h"

#include <string_view>

namespace console {

class ConsoleForm;

class Arbitration
{
public:
    Arbitration(ConsoleForm& form, BuzzOrder& order);

    // A Buzz from `peer` (dispatch of "QD").
    void takeBuzz(std::string_view peer);
    // Text-changed handler of 人数标签.
    void countChanged();
    // Next round: a new question starts with nobody in the order.
    void clearOrder();

private:
    ConsoleForm& form_;
    BuzzOrder& order_;
};

}  // namespace console
