// Build tool: renders the user manual (Markdown) into the help document that
// the about window opens, with Qt's own text layout and PDF writer, so the
// build needs no typesetting tools of its own.
//
//   mkhelp <manual.md> <output.pdf>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>

namespace {

int fail(const char* what, const QString& path)
{
    std::fprintf(stderr, "mkhelp: %s: %s\n", what, qPrintable(path));
    return 1;
}

// Qt's Markdown import gives headings their level but little air; space them
// and give tables visible rules and cell padding.
void dress(QTextDocument& doc)
{
    QTextCursor cur(&doc);
    int chapters = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        const int level = f.headingLevel();
        cur.setPosition(b.position());
        if (level > 0) {
            f.setTopMargin(level == 1 ? 18 : 12);
            f.setBottomMargin(6);
            // The title page holds the title and the contents; the chapters follow.
            if (level == 1 && ++chapters == 2)
                f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        } else {
            f.setBottomMargin(5);
        }
        cur.setBlockFormat(f);
    }
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat tf = table->format();
            tf.setBorder(0.5);
            tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            tf.setBorderCollapse(true);
            tf.setCellPadding(3);
            tf.setCellSpacing(0);
            tf.setTopMargin(4);
            tf.setBottomMargin(8);
            table->setFormat(tf);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkhelp <manual.md> <output.pdf>\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);

    QFile src(in);
    if (!src.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail("cannot read", in);
    const QString markdown = QString::fromUtf8(src.readAll());

    QPdfWriter pdf(out);
    pdf.setTitle(QStringLiteral("VELPRA and VELDESK user manual"));
    pdf.setCreator(QStringLiteral("VELDESK mkhelp"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
    pdf.setResolution(300);

    QTextDocument doc;
    QFont body(QStringLiteral("DejaVu Serif"));
    body.setPointSizeF(10.5);
    doc.setDefaultFont(body);
    doc.setDocumentMargin(0);
    doc.setDefaultStyleSheet(QStringLiteral("code { font-family: 'DejaVu Sans Mono'; }"));
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    dress(doc);

    // Lay the text out at the writer's own resolution, so point sizes and the
    // page width mean what they say on paper, then paint page by page with a
    // page number under each.
    doc.documentLayout()->setPaintDevice(&pdf);
    const QRectF area = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const qreal footer = pdf.resolution() * 0.35; // about 9 mm for the page number
    const QSizeF page(area.width(), area.height() - footer);
    doc.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&pdf))
        return fail("cannot write", out);
    QFont small = body;
    small.setPointSizeF(9);
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            pdf.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        doc.drawContents(&painter, QRectF(QPointF(0, i * page.height()), page));
        painter.restore();
        painter.setFont(small);
        painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::number(i + 1) + QStringLiteral(" / ") + QString::number(pages));
    }
    painter.end();
    if (!QFile::exists(out) || QFile(out).size() == 0)
        return fail("cannot write", out);
    return 0;
}
