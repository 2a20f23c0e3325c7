// vantorel-template: makes grid templates for display formats and papers, and
// renders any template with numbered placeholder pictures.
//
//   vantorel-template new [--orientation portrait|landscape] [--format F]
//                         [--paper CODE] [--margin TWIPS] [--gap TWIPS]
//                         [--white] [--force] DIR
//   vantorel-template shipped DIR
//   vantorel-template preview FILE OUT.png [--width PIXELS]

#include "template_composition/grid_template.h"
#include "template_composition/qt/rpx_file.h"
#include "template_composition/qt/template_preview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace vantorel;
using namespace vantorel::template_composition;

const char* const usage =
    "usage: vantorel-template new [--orientation portrait|landscape] [--format F]\n"
    "                             [--paper CODE] [--margin TWIPS] [--gap TWIPS] [--white] [--force] DIR\n"
    "       vantorel-template shipped DIR\n"
    "       vantorel-template preview FILE OUT.png [--width PIXELS]\n"
    "F is a display format: STANDARD\\c,r, ROW\\a,b or COL\\a,b (default STANDARD\\1,1).\n"
    "CODE is a paper code: 1417, 1414, 1114, 1012, 1014, 810, A3, A4 or B5 (default 1417).\n"
    "new writes DIR/<name>.rpx, named as the server looks the template up; a file\n"
    "already there is kept unless --force is given.\n"
    "preview draws FILE as a film through it prints, with numbered pictures.\n";

// The paper codes and formats shipped with the program.
const char* const shippedPapers[] = {"1417", "1114", "810", "A4", "A3"};

// Writes the template into `folder`; a file of that name is replaced only
// when `replace` says so (an operator's edited template is not lost to a typo).
bool writeTemplate(const GridTemplateOptions& options, const std::string& paper, const QString& folder,
                   bool replace)
{
    if (!QDir().mkpath(folder)) {
        std::cerr << "vantorel-template: cannot create " << folder.toStdString() << "\n";
        return false;
    }
    const QString path = folder + '/' + QString::fromStdString(gridTemplateFileName(options, paper));
    QFile file(path);
    const QIODevice::OpenMode mode =
        replace ? QIODevice::WriteOnly : QIODevice::WriteOnly | QIODevice::NewOnly;
    if (!replace && QFileInfo::exists(path)) {
        std::cerr << "vantorel-template: " << path.toStdString() << " exists; --force replaces it\n";
        return false;
    }
    if (!file.open(mode) || file.write(writeRpx(gridTemplate(options))) < 0 || !file.flush()) {
        std::cerr << "vantorel-template: cannot write " << path.toStdString() << ": "
                  << file.errorString().toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

bool setPaper(const std::string& code, GridTemplateOptions& options)
{
    const auto size = paperSizeOf(code);
    if (!size)
        return false;
    options.paperWidth = size->first;
    options.paperHeight = size->second;
    return true;
}

int newTemplate(const std::vector<std::string>& args)
{
    GridTemplateOptions options;
    std::string paper = "1417", folder;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--force") {
            force = true;
        } else if (arg == "--white") {
            options.blackBase = false;
        } else if (arg == "--orientation" && hasValue) {
            const std::string value = args[++i];
            if (value != "portrait" && value != "landscape")
                return std::cerr << "vantorel-template: orientation is portrait or landscape\n", 2;
            options.orientation = value == "landscape" ? 2 : 1;
        } else if (arg == "--format" && hasValue) {
            if (!parseDisplayFormat(args[++i], options))
                return std::cerr << "vantorel-template: unknown format " << args[i] << "\n", 2;
        } else if (arg == "--paper" && hasValue) {
            paper = args[++i];
        } else if ((arg == "--margin" || arg == "--gap") && hasValue) {
            const float value = std::strtof(args[++i].c_str(), nullptr);
            if (value < 0 || value > 5000)
                return std::cerr << "vantorel-template: " << arg << " takes 0 to 5000 twips\n", 2;
            (arg == "--margin" ? options.margin : options.gap) = value;
        } else if (folder.empty() && arg.rfind("--", 0) != 0) {
            folder = arg;
        } else {
            return std::cerr << usage, 2;
        }
    }
    if (folder.empty())
        return std::cerr << usage, 2;
    if (!setPaper(paper, options))
        return std::cerr << "vantorel-template: unknown paper " << paper << "\n", 2;
    return writeTemplate(options, paper, QString::fromStdString(folder), force) ? 0 : 1;
}

// STANDARD 1x1 ... 5x6 and the ROW and COL formats with 1 to 3 images in
// each of their two rows or columns, portrait and landscape, on every
// shipped paper.
int shippedTemplates(const std::string& folder)
{
    int failures = 0;
    for (const char* paper : shippedPapers) {
        for (int orientation : {1, 2}) {
            GridTemplateOptions options;
            options.orientation = orientation;
            setPaper(paper, options);
            for (int cols = 1; cols <= 5; ++cols) {
                for (int rows = 1; rows <= 6; ++rows) {
                    options.r_c.clear();
                    options.cols = cols;
                    options.rows = rows;
                    failures += !writeTemplate(options, paper, QString::fromStdString(folder), true);
                    if (cols > 3 || rows > 3)
                        continue;
                    for (const char* r_c : {"ROW", "COL"}) {
                        options.r_c = r_c;
                        failures += !writeTemplate(options, paper, QString::fromStdString(folder), true);
                    }
                }
            }
        }
    }
    return failures == 0 ? 0 : 1;
}

int preview(const std::vector<std::string>& args)
{
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--width"))
        return std::cerr << usage, 2;
    const int width = args.size() == 4 ? std::atoi(args[3].c_str()) : 1200;
    if (width < 16 || width > 10000)
        return std::cerr << "vantorel-template: --width takes 16 to 10000 pixels\n", 2;
    RpxTemplateLoader loader;
    auto layout = loader.load(args[0]);
    if (!layout)
        return std::cerr << "vantorel-template: " << args[0] << ": " << layout.reason() << "\n", 1;
    const bool rowColumn = rowColumnTemplateName(args[0]);
    if (const auto problem = templatePreviewProblem(*layout, rowColumn))
        return std::cerr << "vantorel-template: " << args[0] << ": the server would not use it: " << *problem
                         << "\n",
               1;
    const QImage picture = renderTemplatePreview(*layout, width, rowColumn);
    if (picture.isNull() || !picture.save(QString::fromStdString(args[1]), "PNG"))
        return std::cerr << "vantorel-template: cannot write " << args[1] << "\n", 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << usage;
        return args.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "new")
        return newTemplate(rest);
    if (args[0] == "shipped" && rest.size() == 1)
        return shippedTemplates(rest[0]);
    if (args[0] == "preview")
        return preview(rest);
    std::cerr << usage;
    return 2;
}
