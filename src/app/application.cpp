#include "app/application.h"

#include "windows/main_window.h"
#include "windows/preferences_dialog.h"

namespace quill {

Application::Application(const Seams &seams, QObject *parent)
    : QObject(parent)
    , m_form2(std::make_unique<TForm2>())
    , m_form1(std::make_unique<TForm1>(*m_form2, seams))
{
    connect(m_form1.get(), &TForm1::preferencesRequested, this, &Application::showPreferences);
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

} // namespace quill
