#include "QtPlatform.h"
#include <QInputDialog>
#include <QLineEdit>
#include "MidiDevice.h"
#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

MsgAnswer QtPlatform::messageBox(const MsgBoxRequest& r)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(r.title);
    QString text = r.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(text);
    switch (r.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    }
    if (r.buttons == MsgButtons::OK) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return MsgAnswer::OK;
    }
    QPushButton* yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton* cancel = r.buttons == MsgButtons::YesNoCancel
                              ? box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole)
                              : nullptr;
    box.setDefaultButton(r.defaultSecond ? no : yes);
    box.setEscapeButton(cancel ? cancel : no);
    box.exec();
    if (box.clickedButton() == yes) return MsgAnswer::Yes;
    if (cancel && box.clickedButton() == cancel) return MsgAnswer::Cancel;
    return MsgAnswer::No;
}

std::optional<QColor> QtPlatform::chooseColor(const QColor& preset)
{
    QColorDialog dialog(preset, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Colore"));
    // A cancelled dialog reports the colour it was preset with.
    if (dialog.exec() != QDialog::Accepted) return preset;
    const QColor c = dialog.selectedColor();
    if (!c.isValid()) return std::nullopt;
    return c;
}

QString QtPlatform::openFileName(const QString& title)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title);
}

QString QtPlatform::normaliseTarget(const QString& target)
{
    QString t = target.trimmed();
    if (t.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive))
        t = QStringLiteral("mailto:") + t.mid(7).trimmed();
    return t;
}

namespace {
// Whether the desktop names an application for the file's type. The desktop's opener starts in the
// background and reports nothing when no application takes the file, so the association is asked
// first; where the desktop cannot be asked, the opener is left to try.
bool desktopOpens(const QString& path)
{
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty()) return true;
    QProcess p;
    p.start(query, {QStringLiteral("query"), QStringLiteral("default"), QMimeDatabase().mimeTypeForFile(path).name()});
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
        return true;
    }
    return !p.readAllStandardOutput().trimmed().isEmpty();
}
} // namespace

int QtPlatform::shellOpen(const QString& target)
{
    const QString t = normaliseTarget(target);
    QUrl url = QUrl::fromUserInput(t);
    if (!url.isValid()) return 2;   // the shell's "file not found"
    if (url.isLocalFile()) {
        if (!QFileInfo::exists(url.toLocalFile())) return 2;
        if (!desktopOpens(url.toLocalFile())) return 31;   // the shell's "no application is associated"
    }
    return QDesktopServices::openUrl(url) ? 42 : 31;
}

std::unique_ptr<MciDevice> QtPlatform::createMciDevice() { return std::make_unique<MidiDevice>(); }

bool QtPlatform::showDocument(QObject* document)
{
    const DocumentHost& host = documentHost();
    return host && host(document);
}

int QtPlatform::filterFor(const QString& fileName, const QStringList& filters)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix.isEmpty()) return -1;
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    for (int i = 0; i < filters.size(); ++i)
        for (auto it = pattern.globalMatch(filters[i]); it.hasNext();)
            if (it.next().captured(1).toLower() == suffix) return i;
    return -1;
}

Platform::SaveChoice QtPlatform::saveFileName(const QString& title, const QString& suggested, const QStringList& filters)
{
    const int preset = filterFor(suggested, filters);
    QString selected = filters.value(preset < 0 ? 0 : preset);
    SaveChoice c;
    c.fileName = QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggested, filters.join(QStringLiteral(";;")), &selected);
    c.filter = std::max(0, int(filters.indexOf(selected)));
    return c;
}

std::optional<QString> QtPlatform::inputText(const QString& title, const QString& label, const QStringList& choices,
                                             const QString& preset)
{
    bool ok = false;
    QString text;
    if (choices.isEmpty()) {
        text = QInputDialog::getText(QApplication::activeWindow(), title, label, QLineEdit::Normal, preset, &ok);
    } else {
        QStringList items = choices;
        items.removeAll(preset);
        if (!preset.isEmpty()) items.prepend(preset);
        text = QInputDialog::getItem(QApplication::activeWindow(), title, label, items, 0, /*editable=*/true, &ok);
    }
    if (!ok) return std::nullopt;
    return text;
}
