#include "CliCommands.h"

const std::vector<CliCommand>& CliCommands()
{
    static const std::vector<CliCommand> commands = {
        {"import",
         "import [--records] FILE",
         "Replace clcat.dat and cldict.dat from a CL text list.",
         "Reads a CL text list and replaces the category list clcat.dat and the\n"
         "command index cldict.dat with what it holds:\n"
         "  [NN] - Category name    a category (NN 1 to 99); the current category\n"
         "  [NN]                    changes the current category only\n"
         "  NAME - Title            a command of the current category\n"
         "A line is one line however long. Lines that are refused (a name over 10\n"
         "characters, a category number outside 1 to 99) are reported by number\n"
         "and skipped; over-long titles are cut with a warning. A list with no\n"
         "command that can be taken is refused and both files stay as they were.\n"
         "\n"
         "With --records, every command of the list whose per-command file does not\n"
         "exist yet gets one holding its name and title; existing files are never\n"
         "overwritten, and data/ is created when missing. The files are in place\n"
         "and on disk before the lists are written; when one cannot be written,\n"
         "the lists stay as they were.\n",
         {{"records", nullptr, "Create the missing per-command files."}},
         1,
         1,
         CliArgKind::Paths,
         true,
         RunImport},
        {"build",
         "build [--drop-missing]",
         "Join data/NAME.dat into clcmd.dat, rewrite cldict.dat.",
         "Joins the per-command file data/NAME.dat of every index entry, in index\n"
         "order, into clcmd.dat and rewrites cldict.dat with each record's position\n"
         "and length. An entry without a per-command file gets no record. When\n"
         "cldict.dat cannot be loaded nothing is written.\n"
         "\n"
         "A build never loses a record by accident: when data/ is missing, or a\n"
         "command whose record clcmd.dat holds has no file in data/, it names them\n"
         "and writes nothing. --drop-missing builds without those records.\n",
         {{"drop-missing", nullptr, "Build even when records would be lost."}},
         0,
         0,
         CliArgKind::Text,
         true,
         RunBuild},
        {"html",
         "html --out DIR [--raw] [--ad-client ID --ad-channel ID] [NAME...]",
         "Write the HTML pages into DIR.",
         "Writes the page NAME.htm of each named command into DIR. With no NAME,\n"
         "writes every command's page, then the index pages index-N.htm. DIR is\n"
         "created when missing. Records are read as the run mode says.\n"
         "\n"
         "Values are written as HTML text (& < > \" escaped); --raw (or HtmlRaw=1\n"
         "in tarvexa.ini) writes them as the records hold them, for records that\n"
         "hold markup on purpose. The advertising block is written only when both\n"
         "ad ids are set (--ad-client and --ad-channel, or AdClient and AdChannel\n"
         "in tarvexa.ini); CopyrightHolder in tarvexa.ini names the holder of the\n"
         "pages' copyright notices.\n"
         "\n"
         "A command whose record cannot be read gets no page (a page published\n"
         "before stays); the others are written and the exit status is 1. An empty\n"
         "index, or records to be read from a missing data/ folder, is an error.\n",
         {{"out", "DIR", "The folder the pages are written to.", true},
          {"raw", nullptr, "Write values unescaped."},
          {"ad-client", "ID", "The publisher's ad client id."},
          {"ad-channel", "ID", "The publisher's ad channel id."}},
         0,
         CliCommand::kAnyCount,
         CliArgKind::Text,
         false,
         RunHtml},
        {"list",
         "list [--category ID]",
         "Command names in index order, one per line.",
         "Prints the command names of the index, in index order, one per line.\n"
         "With --category, only the commands of that category, which must exist.\n",
         {{"category", "ID", "Only the commands of this category."}},
         0,
         0,
         CliArgKind::Text,
         false,
         RunList},
        {"categories",
         "categories",
         "One line per category: id TAB name TAB file name.",
         "Prints one line per category, in id order: the id, the name and the file\n"
         "name, separated by tabs (the file name may be empty).\n",
         {},
         0,
         0,
         CliArgKind::Text,
         false,
         RunCategories},
        {"show",
         "show NAME",
         "A command's record as readable text.",
         "Prints the record of the command NAME (matched exactly): its name,\n"
         "description, environment, parameters, examples, detail and error\n"
         "messages. The record is read as the window reads it: from data/NAME\n"
         "in run mode 1, from clcmd.dat otherwise.\n",
         {},
         1,
         1,
         CliArgKind::Text,
         false,
         RunShow},
        {"check",
         "check",
         "Verify every data file; one line per problem.",
         "Verifies clcat.dat, cldict.dat, the per-command files of the index and\n"
         "clcmd.dat, and prints one line per problem, starting with the file it\n"
         "concerns; temporaries left by a writer that was stopped are problems too.\n"
         "Then notes, which are no problem: a file in data/ that no index entry\n"
         "names. Prints nothing and exits with 0 when all is well, exits with 1\n"
         "when it found a problem.\n",
         {},
         0,
         0,
         CliArgKind::Text,
         false,
         RunCheck},
        {"export",
         "export DIR",
         "Write every record and the categories as YAML.",
         "Writes the record of every index entry as DIR/NAME.yaml, with the entry's\n"
         "category (and its file name and reserved values when they are not the\n"
         "usual ones), then the category list as DIR/categories.yaml. DIR is\n"
         "created when missing. Records are read as the run mode says; an entry\n"
         "whose record cannot be read is written with its name, category and file\n"
         "only. \"load DIR\" reads the files back byte for byte.\n",
         {},
         1,
         1,
         CliArgKind::Paths,
         false,
         RunExport},
        {"load",
         "load DIR",
         "Save DIR/*.yaml as per-command files under data/.",
         "Reads every DIR/*.yaml but categories.yaml, in name order, and saves each\n"
         "as its per-command file under data/ (created when missing). A command\n"
         "missing from the index is added (category and file name from the file,\n"
         "else 1 and NAME.dat); an entry whose category, file name or reserved\n"
         "values the file gives otherwise is updated. DIR/categories.yaml, when\n"
         "present, adds missing categories and renames existing ones. cldict.dat\n"
         "and clcat.dat are written only when they change.\n"
         "\n"
         "A file that breaks a limit, names an unsafe file or a category that does\n"
         "not exist, is not named after its command or holds a character above\n"
         "U+00FF is reported as \"FILE: reason\" and skipped; the exit status is\n"
         "then 1. A file whose file: names another command's file is refused; a\n"
         "record kept in a file other than NAME.dat is written to NAME.dat too, so\n"
         "build shows the same. At the first file that cannot be written nothing\n"
         "more is written and the files this run created are removed. Run \"build\"\n"
         "afterwards to update clcmd.dat.\n",
         {},
         1,
         1,
         CliArgKind::Paths,
         true,
         RunLoad},
        {"import-cmd",
         "import-cmd [--category ID] FILE...",
         "Parameters from IBM i command definitions (XML).",
         "Reads each FILE as the XML document that IBM i's Retrieve Command\n"
         "Definition API (QCDRCMDD) writes for one command, and takes its\n"
         "parameters into the reference: keyword, prompt, choices (single and\n"
         "special values, the kind of value, the parts of a qualified name or list,\n"
         "the default) and notes (Required or Optional, Key, Positional n).\n"
         "Parameters with a constant value are left out.\n"
         "\n"
         "A command the index holds gets its parameter list replaced; every other\n"
         "field and its category stay. A new command is added to category ID\n"
         "(default 1) with its title and a per-command file under data/. One line\n"
         "per command says what was added, removed or changed. A file that cannot\n"
         "be taken is reported as \"FILE: reason\" and the others go on; the exit\n"
         "status is then 1. Run \"build\" afterwards to update clcmd.dat.\n",
         {{"category", "ID", "The category of new commands (default 1)."}},
         1,
         CliCommand::kAnyCount,
         CliArgKind::Paths,
         true,
         RunImportCmd},
        {"prompt",
         "prompt [--source] NAME KEYWORD=VALUE...",
         "Build a command string from keyword values.",
         "Builds the command NAME from the values given as KEYWORD=VALUE, over the\n"
         "command's parameters in the reference: the parameters given, in the\n"
         "record's order, each as KEYWORD(value), then keywords the record does\n"
         "not list, as given. A value stays bare only where CL reads it so (a name,\n"
         "special value, number, qualified or generic name, variable, hex constant,\n"
         "or a list or expression typed in parentheses) and is upper-cased; any\n"
         "other value (a path, text with blanks or lower case) is quoted with its\n"
         "case kept and apostrophes doubled. Prints the command on one line (with\n"
         "--source, as CL source lines of at most 80 columns continued with +).\n"
         "Every problem is one line on standard error, and the exit status is then\n"
         "1: a keyword the command lacks, a required parameter without a value, a\n"
         "value the parameter's choices do not allow (a special value it does not\n"
         "list, a name of more than 10 characters, a number outside a range, a text\n"
         "longer than stated, TEXT longer than 50 characters, too many qualifiers,\n"
         "elements or values, a single value given with others). Where the record\n"
         "lists only some parameters, a keyword it lacks is a note (\"note: \") and\n"
         "the status stays 0. For example\n"
         "  zentrivo-cli prompt crtlib lib=payroll type=*test \"text=Payroll data\"\n"
         "prints\n"
         "  CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Payroll data')\n",
         {{"source", nullptr, "Print CL source lines of at most 80 columns."}},
         1,
         CliCommand::kAnyCount,
         CliArgKind::Text,
         false,
         RunPrompt},
        {"explain",
         "explain 'COMMAND STRING'",
         "Explain each parameter of a command string and check it.",
         "Reads a command string as CL does (positional values, KEYWORD(value),\n"
         "lists, qualified names, quoted strings, + and - continuation) and prints\n"
         "one line per parameter given: KEYWORD<TAB>VALUE<TAB>DESCRIPTION, with\n"
         "<TAB>(positional N) for a value given without its keyword. Problems\n"
         "(a required parameter missing, a keyword the command lacks, too many\n"
         "positional values, a value the parameter's choices do not allow, as for\n"
         "prompt) follow on standard error, one per line; variables and\n"
         "expressions are not checked against lists. Where the record lists only\n"
         "some parameters, a keyword it lacks is a note. Exit 0 when there are no\n"
         "problems but notes, 1 when there are, 2 when the string is no command.\n"
         "For example\n"
         "  zentrivo-cli explain \"CRTLIB PAYROLL *TEST\"\n"
         "prints\n"
         "  LIB<TAB>PAYROLL<TAB>Library<TAB>(positional 1)\n"
         "  TYPE<TAB>*TEST<TAB>Library type<TAB>(positional 2)\n",
         {},
         1,
         CliCommand::kAnyCount,
         CliArgKind::Text,
         false,
         RunExplain},
        {"search",
         "search [--limit N | --all] WORDS...",
         "Commands whose texts hold every word, best first.",
         "Searches every command of the reference: its name, title, environment,\n"
         "detail, examples, parameters and error messages. Words compare without\n"
         "regard to case; a word is a run of letters, digits and * @ # $ _ & (so\n"
         "*LIBL and CPF2110 are words). Every word must occur; the last one may\n"
         "begin a longer word. Prints one line per command, best first:\n"
         "NAME<TAB>TITLE<TAB>WHERE, where WHERE says where it matched (name,\n"
         "title, parameter OUTQ, error CPF2110, detail, ...).\n"
         "\n"
         "Best first means: the command named by the word; a title whose words\n"
         "are the query's; names that begin with the word; titles that hold the\n"
         "words in order; titles and names that hold them in any order; then a\n"
         "parameter keyword or message id, parameter and message texts, and\n"
         "detail, examples and environment. Within each, commands whose words\n"
         "weigh more (in the name or title, more often) and titles the words fill\n"
         "more come first.\n"
         "\n"
         "Prints the best 20 unless --limit or --all says otherwise, and then\n"
         "says on standard error how many there are. When no command holds the\n"
         "words, the closest words of the reference (a typing error, an\n"
         "abbreviation such as crtlb for CRTLIB) are searched instead, and\n"
         "\"Showing results for WORDS\" on standard error names them. Records\n"
         "are read as the run mode says. Exits with 0 when something was found,\n"
         "1 when not.\n",
         {{"limit", "N", "Print at most N commands."},
          {"all", nullptr, "Print every command found."}},
         1,
         CliCommand::kAnyCount,
         CliArgKind::Text,
         false,
         RunSearch},
        {"msgid",
         "msgid [--monmsg | --goto LABEL] ID",
         "The commands that send a message, with its text.",
         "Prints the commands whose error messages hold the message id ID (three\n"
         "letters and four hexadecimal digits, any case), one per line:\n"
         "NAME<TAB>TEXT. With --monmsg, prints instead the CL command that\n"
         "monitors the message, MONMSG MSGID(ID); with --goto LABEL, one that\n"
         "also goes to a label, MONMSG MSGID(ID) EXEC(GOTO CMDLBL(LABEL)). Exits\n"
         "with 0 when a command was found (or the line printed), 1 when not, 2\n"
         "for an ID that is not three letters and four hexadecimal digits or a\n"
         "LABEL that is not a CL label.\n",
         {{"monmsg", nullptr, "Print the MONMSG command for the message."},
          {"goto", "LABEL", "Print the MONMSG command that goes to LABEL."}},
         1,
         1,
         CliArgKind::Text,
         false,
         RunMsgid},
        {"lint",
         "lint [--format gcc|json|sarif] FILE...",
         "Check CL source members against the reference.",
         "Reads each FILE as a CL source member and checks every command against\n"
         "its record in the reference (unknown keyword, keyword given twice, too\n"
         "many values without a keyword, a required parameter missing, a value\n"
         "outside a closed list or a range; a command the reference does not hold\n"
         "is a warning) and the program's structure: the declare commands before\n"
         "all others but PGM, DO and SELECT groups ended, subroutines not nested\n"
         "and at the end, ELSE after an IF, LEAVE and ITERATE inside a loop, GOTO\n"
         "and CALLSUBR to what exists, labels defined once, variables declared\n"
         "(and, as a note, used), nothing after ENDPGM.\n"
         "\n"
         "Prints one line per finding, sorted, in the form compilers use:\n"
         "  FILE:LINE:COLUMN: error|warning|note: MESSAGE [CODE]\n"
         "--format json prints one JSON document (docs/lint.md gives its schema);\n"
         "--format sarif prints SARIF 2.1.0 for code-scanning services. A summary\n"
         "line goes to standard error. Exits with 0 when there is no error, 1 when\n"
         "there are errors, 2 when a FILE cannot be read.\n",
         {{"format", "FORMAT", "gcc (the default), json or sarif."}},
         1,
         CliCommand::kAnyCount,
         CliArgKind::Paths,
         false,
         RunLint},
        {"format",
         "format [--check | --in-place] [--margin N] [--keep-case] FILE...",
         "Lay out CL source members as the prompter does.",
         "Lays each FILE out as the prompter writes CL source: a label in column 2,\n"
         "the command in column 14, the first parameter in column 25, continuation\n"
         "lines indented to column 27 and continued with +, lines within the right\n"
         "margin (80, or --margin N). Keywords and names are upper-cased unless\n"
         "--keep-case; quoted strings, comments and blank lines stay as they are,\n"
         "and so does a statement with a comment inside it. Formatting never changes\n"
         "meaning: the statements are read again and compared before anything is\n"
         "written, and a member that cannot be read is left untouched with an\n"
         "error. Formatting twice gives the same text.\n"
         "\n"
         "Prints the formatted members on standard output; --check prints the names\n"
         "of the members that would change (exit status 1), --in-place rewrites\n"
         "them through a temporary file. Exits with 2 when a FILE cannot be read.\n",
         {{"check", nullptr, "Only say which members would change."},
          {"in-place", nullptr, "Rewrite the members."},
          {"margin", "N", "The right margin (40 to 240; 80 by default)."},
          {"keep-case", nullptr, "Keep the case of keywords and names."}},
         1,
         CliCommand::kAnyCount,
         CliArgKind::Paths,
         false,
         RunFormat},
        {"lsp",
         "lsp",
         "Serve the reference to editors (Language Server Protocol).",
         "Runs a language server for CL source over standard input and output\n"
         "(Language Server Protocol 3.17, JSON-RPC 2.0). Editors start it and get\n"
         "the checks of lint as diagnostics while typing, hover (a command's title\n"
         "and overview, a parameter's choices and notes, a message id's text in\n"
         "MONMSG, a variable's DCL), completion of command names, keywords and\n"
         "special values, signature help, formatting, symbols, go to definition,\n"
         "inlay hints for positional values and code actions that write a command\n"
         "with its keywords or add its required parameters. docs/editors.md shows\n"
         "the set-up for Neovim, Kate, Emacs, Helix and VS Code. Exits with 0 after\n"
         "the client's shutdown and exit.\n",
         {},
         0,
         0,
         CliArgKind::Text,
         false,
         RunLsp},
    };
    return commands;
}
