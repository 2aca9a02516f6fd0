#include "app/application.h"

#include "windows/main_window.h"
#include "windows/preferences_dialog.h"
#include "windows/tools_window.h"

namespace quill {

Application::Application(const Seams &seams, QObject *parent)
    : QObject(parent)
    , m_form2(std::make_unique<TForm2>())
    , m_form1(std::make_unique<TForm1>(*m_form2, seams))
    , m_form4(std::make_unique<TForm4>(seams))
{
    connect(m_form1.get(), &TForm1::preferencesRequested, this, &Application::showPreferences);
    connect(m_form1.get(), &TForm1::toolsRequested, this, &Application::showTools);
    connect(m_form4.get(), &TForm4::helpRequested, m_form1.get(), &TForm1::openHelp);
}

Application::~Application() = default;

void Application::start()
{
    m_form1->show();
}

void Application::openProject(const QString &path)
{
    m_form1->openProject(path);
}

void Application::showPreferences()
{
    // Modeless: an open dialog comes forward with the states it has.
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();
}

void Application::showTools(int page)
{
    m_form4->showPage(page, *m_form1);
}

} // namespace quill
