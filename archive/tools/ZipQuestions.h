#pragma once
// The questions the zip engine asks while it extracts (MyZipNeedPassword and
// MyZipConfirmOverwrite), worded for the user and asked through the Prompter on the thread
// that calls them (a batch's worker goes through RunOnUiThread first).
//
// The same-password flag and the saved password live for the whole run: once the user says
// Yes to "Do you want to use same password for each file??", every later encrypted archive
// gets the first password without a question.

#include <QString>

#include <functional>
#include <optional>

namespace ZipQuestions {

// The "Enter Password" dialog: the typed password after OK, nullopt after Cancel. The window
// installs its dialog; until then the Prompter's text question stands in.
using PasswordDialog = std::function<std::optional<QString>()>;
void setPasswordDialog(PasswordDialog dialog);

// MyZipNeedPassword: password is what the engine holds and receives the answer (kept when
// the dialog is cancelled); the answer is saved for the run.
void needPassword(QString& password);
// The password saved for the run ("" until one was entered).
QString savedPassword();
// Back to the start of a run: no same-password flag, no saved password.
void forgetPasswords();

// MyZipConfirmOverwrite for the existing file name: with warn set, asks name + " exists,
// overwrite?" (Yes, No, Yes to All); No clears confirm, Yes to All clears warn so that no
// later file is asked about. With warn clear the engine's default (replace) stands.
void confirmOverwrite(const QString& name, bool& confirm, bool& warn);

} // namespace ZipQuestions
