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
    exchangeAddedSettings(ar);
}

void CSysData::exchangeAddedSettings(Archive& ar) {
    // Without added settings that differ from their new values the file is what a program
    // from before them writes and reads, byte for byte.
    if (!ar.isStoring() && ar.atEnd()) return;
    std::vector<CAddedSetting> list;
    if (ar.isStoring()) {
        if (zoomPercent != 100) list.push_back({kZoomSettingNumber, zoomPercent});
        if (preciseFunctions != 0) {
            list.push_back({kPreciseFunctionsSettingNumber, preciseFunctions});
        }
        list.insert(list.end(), otherAddedSettings.begin(), otherAddedSettings.end());
        if (!list.empty()) ar.exchange(list);
        return;
    }
    ar.exchange(list);
    otherAddedSettings.clear();
    for (const CAddedSetting& setting : list) {
        if (setting.number == kZoomSettingNumber) {
            zoomPercent = setting.value;
        } else if (setting.number == kPreciseFunctionsSettingNumber) {
            preciseFunctions = setting.value;
        } else {
            otherAddedSettings.push_back(setting);
        }
    }
}

void CAddedSetting::Serialize(Archive& ar) {
    ar.exchange(number);
    ar.exchange(value);
}

}  // namespace quorvel
