// The about box: the maker's logo, the legal warning, the copyright notice and System Info.
#pragma once

#include <QDialog>

class SystemInfoLauncher;

/// frmAbout. Everything it shows is fixed; "System Info..." starts the system's information
/// tool, or says it is unavailable, and the box stays open either way.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static void showModal(QWidget* parent, SystemInfoLauncher& systemInfo);

private:
    AboutBox(QWidget* parent, SystemInfoLauncher& systemInfo);
    void cmdSysInfo_Click();
    void StartSysInfo();

    SystemInfoLauncher& m_systemInfo;
};
