#pragma once

class QApplication;

// The program block: process-wide objects and settings, splash, connection, main window,
// login, start-up actions, the message loop, and the orderly shutdown. Returns the exit code.
int RunProgram(QApplication& app);
