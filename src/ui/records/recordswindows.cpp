#include "ui/records/recordswindows.h"

#include "ui/records/tkamnu.h"
#include "ui/records/tkaread.h"
#include "ui/records/tkasave.h"

namespace tork {

QDialog* createRecallWindow(const RecordsContext& context, bool confirmRecall, QWidget* parent)
{
    return new TKaread(context, confirmRecall, parent);
}

QDialog* createSaveWindow(const RecordsContext& context, QWidget* parent) { return new TKasave(context, parent); }

QDialog* createManualEntryWindow(const RecordsContext& context, QWidget* parent)
{
    return new TKamnu(ManualEntryMode::Current, context, std::nullopt, QString(), parent);
}

}  // namespace tork
