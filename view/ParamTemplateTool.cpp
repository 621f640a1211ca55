// Writes the parameter workbook templates that the export fills, so that they
// are built with the program and lie beside it: d390_param_templates FOLDER/

#include "platform/Workbook.h"
#include "view/ParamExchange.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER/\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    CWorkbook book;
    CParamExchange::MakeTemplate(book);
    // One template per family; the first name serves every code up to the
    // S-P family, the second the S-P family.
    for (int code : {0, 0x1110001}) {
        std::string path = folder + CParamExchange::TemplateNameOf(code);
        std::string error;
        if (!book.Save(path, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
