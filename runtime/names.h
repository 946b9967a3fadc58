#pragma once
// How the program's names are spelled in C++.
//
// The program's classes, modules and operations keep the names they have in
// the program's design documents, with one fixed rule for the few that C++
// cannot spell as they stand:
//
//  - a module member `M.f` is `namespace M { f(); }` (`HQX_code::HQX()`);
//  - leading underscores are dropped, since names that begin with an
//    underscore are reserved at global scope and before a capital letter
//    (`_FileEncode_Action` -> `FileEncode_Action`, `Window.__New` ->
//    `Window::New`, `_x_Mac.Mac` -> `x_Mac::Mac`, `__ctblinit` ->
//    `ctblinit`);
//  - a getter of the implicit single instance named like its class
//    (`Window1.Window1()`, `About.About()`, `MainMenuBar.MainMenuBar()`,
//    `App()`) is the static member `Instance()`;
//  - the initialiser of a module property `M.p.__Init` is `M::p_Init()`.
