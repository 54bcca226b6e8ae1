#include "tools/tip_model.h"

#include "data/sys_data_holder.h"
#include "tools/tip_texts.h"

namespace quorvel {

TipModel::TipModel(SysDataHolder& holder) : m_holder(holder) {
    const CSysData& d = holder.data();
    m_index = d.tipPosition >= 0 && d.tipPosition < kTipCount ? d.tipPosition : 0;
    m_showAtStart = d.tipsAtStart == 1;
}

std::string_view TipModel::text() const { return TipText(m_index); }

std::string TipModel::counter() const {
    return "Tip " + std::to_string(m_index + 1) + " of " + std::to_string(kTipCount);
}

void TipModel::next() { m_index = (m_index + 1) % kTipCount; }

void TipModel::previous() { m_index = (m_index + kTipCount - 1) % kTipCount; }

void TipModel::close() {
    if (m_closed) return;
    m_closed = true;
    CSysData& d = m_holder.data();
    d.tipsAtStart = m_showAtStart ? 1 : 0;
    d.tipPosition = (m_index + 1) % kTipCount;
    d.tipWindowOpen = 0;
}

}  // namespace quorvel
