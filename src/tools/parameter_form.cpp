#include "tools/parameter_form.h"

#include "calc/messages.h"
#include "data/sys_data_holder.h"
#include "tools/number_keys.h"
#include "tools/present.h"

namespace quorvel {

ParameterTexts ReadParameterTexts(const CSysData& data) {
    return {data.paramF, data.paramK, data.paramM, data.paramW, data.piText};
}

void WriteParameterTexts(const ParameterTexts& texts, CSysData& data) {
    data.paramF = texts[0];
    data.paramK = texts[1];
    data.paramM = texts[2];
    data.paramW = texts[3];
    data.piText = texts[4];
}

int FirstNonNumberBox(const ParameterTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!IsFloatNumber(texts[i])) return static_cast<int>(i);
    }
    return -1;
}

ParameterTexts ParameterForm::open(Prompter& prompter) {
    const LoadResult loaded = m_holder.Load();
    if (std::string notice = loaded.notice(); !notice.empty()) {
        present({ToolMessageId::DataFileNotice, {std::move(notice)}}, prompter);
    }
    return ReadParameterTexts(m_holder.data());
}

bool ParameterForm::accept(const ParameterTexts& texts, Prompter& prompter) {
    if (const int box = FirstNonNumberBox(texts); box >= 0) {
        present({ToolMessageId::ParameterNotNumber, {std::string(kParameterBoxNames[box])}},
                prompter);
        return false;
    }
    WriteParameterTexts(texts, m_holder.data());
    if (const StoreResult stored = m_holder.Store(); !stored.stored) {
        present({ToolMessageId::DataFileNotice, {stored.reason}}, prompter);
    }
    return true;
}

}  // namespace quorvel
