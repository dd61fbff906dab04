#pragma once

// The panel's dialogs, installed by kind before the panel opens any of them.
void RegisterServiceDialogs();  // setup, About, lock-out, attributes, routing, GPI, bypass
void RegisterStorageDialogs();  // files, custom menus, effects
