// A test fixture whose host session runs a plug-in object made in the test
// process, so that the test can reach the object's working record.
// The session ends as the driver ends a sheet: the sheet closes, the test's
// reference to the object goes, then the host releases the object and
// closes the printer.
#pragma once

#include "plugin/oemui_plugin.h"
#include "core/ui_context.h"
#include "drvhost_api.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zdtest {

class PluginSheetTest : public testing::Test {
  protected:
    // A new session with a new plug-in object attached; an earlier one ends first.
    void StartSession(drvhost::HostOptions options = {}) {
        EndSession();
        plugin_ = new zd::OemUiPlugin();
        session_ = std::make_unique<drvhost::HostSession>(std::move(options));
        std::wstring error;
        ASSERT_TRUE(session_->host().Attach(plugin_, &error))
            << std::string(error.begin(), error.end());
    }

    void EndSession() {
        if (session_ && session_->sheet())
            session_->sheet()->Close();
        if (plugin_)
            plugin_->Release();
        plugin_ = nullptr;
        session_.reset();
    }

    void TearDown() override { EndSession(); }

    zd::UiContext& Ctx() { return *plugin_->documentContext(); }

    zd::OemUiPlugin* plugin_ = nullptr;
    std::unique_ptr<drvhost::HostSession> session_;
};

} // namespace zdtest
