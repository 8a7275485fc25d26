#pragma once
// The records windows as the main window and the measurement window open them.
//
// Each returns a new modal window; the opener runs it with exec() and deletes it. After the
// recall window or the manual entry window closed with QDialog::Accepted, the current
// measurement (and, after a recall, the current patient) has changed.

#include "ui/records/recordscontext.h"

class QDialog;
class QWidget;

namespace tork {

// TKaread. CONFIRM_RECALL: ask before a recall (the main window's Recall); the measurement
// window opens it without the question.
QDialog* createRecallWindow(const RecordsContext& context, bool confirmRecall, QWidget* parent);
// TKasave for the current measurement.
QDialog* createSaveWindow(const RecordsContext& context, QWidget* parent);
// TKamnu on the current measurement (nothing is written to the database).
QDialog* createManualEntryWindow(const RecordsContext& context, QWidget* parent);

}  // namespace tork
