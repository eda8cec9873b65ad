#pragma once
// The zip engine as the window's zip batches use it: set from the confirmation dialog's zip
// options (ApplyZipOptions), its events wired to the batch loop: the progress events move the
// progress dialog's meters and texts and abort once Cancel was pressed, the password and
// overwrite questions are asked on the UI thread (ZipQuestions). One lives for one batch;
// the warn-overwrite flag it starts with from the dialog is cleared by Yes to All for the
// rest of the batch.

#include "archive/TAbZipKit.h"
#include "fileops/ConfirmActions.h"

#include <atomic>

class BatchLoop;

// The dialog's zip options onto the engine, as the table of the zip tools says: the first
// two deflation choices are crossed ("Normal" is the engine's maximum and "Maximum" its
// normal), the store and extract options are rebuilt from empty.
void ApplyZipOptions(const ZipOptions& options, TAbZipKit& kit);
// The inverse: the engine's settings as the dialog shows them.
ZipOptions ZipOptionsOf(const TAbZipKit& kit);

class ZipBatchKit {
public:
    explicit ZipBatchKit(const ConfirmResults& options);

    TAbZipKit& kit() { return m_kit; }
    // The loop whose labels and Cancel the events use from now on.
    void attach(BatchLoop* loop) { m_loop = loop; }

private:
    void wireEvents();
    bool cancelled() const;

    TAbZipKit m_kit;
    BatchLoop* m_loop = nullptr;
    std::atomic<bool> m_warnOverwrite;
};
