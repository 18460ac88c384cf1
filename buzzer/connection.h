// The connect button and the loss of the connection: reaching the console,
// reporting the contestant's name, and saying so in the main window's title.
#pragma once

class MainForm;

namespace connection {

// Click on 按钮1: refuse an empty name and "Tovin01", connect 客户1 to the
// trimmed address on `port`, report the untrimmed name, unlock buzzing.
void connectAndRegister(MainForm& main, int port);

// ConnectionBroken of 客户1: the title says so and 按钮1 reconnects.
void connectionLost(MainForm& main);

}  // namespace connection
