#include "data/sys_data.h"

#include "data/archive.h"

namespace quorvel {

// The one place that fixes the order of the fields in SysData.dat.
void CSysData::Serialize(Archive& ar) {
    ar.exchange(paramF);
    ar.exchange(paramK);
    ar.exchange(paramM);
    ar.exchange(paramW);
    ar.exchange(piText);
    ar.exchange(extraNumber);
    ar.exchange(talkResult);
    ar.exchange(talkInput);
    ar.exchange(talkKeys);
    ar.exchange(log);
    ar.exchange(angleUnit);
    ar.exchange(minimizeToTray);
    ar.exchange(exerciseLimit1);
    ar.exchange(exerciseLimit2);
    ar.exchange(exerciseLimit3);
    ar.exchange(welcome);
    ar.exchange(formulas);
    ar.exchange(windowStyle);
    ar.exchange(firstRun);
    ar.exchange(conversions);
    ar.exchange(decimalPlaces);
    ar.exchange(intDigitsLimit);
    ar.exchange(historyFactor);
    ar.exchange(tipsAtStart);
    ar.exchange(savedInput);
    ar.exchange(savedStepFlag);
    ar.exchange(savedDisplay);
    ar.exchange(tipPosition);
    ar.exchange(savedPosition);
    ar.exchange(savedShownResult);
    ar.exchange(tipWindowOpen);
    ar.exchange(greetingMark);
    ar.exchangeOptional(preciseFunctions);
}

}  // namespace quorvel
