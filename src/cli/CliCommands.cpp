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
         "overwritten, and data/ is created when missing.\n",
         {{"records", nullptr, "Create the missing per-command files."}},
         1,
         1,
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
         {{"out", "DIR", "The folder the pages are written to."},
          {"raw", nullptr, "Write values unescaped."},
          {"ad-client", "ID", "The publisher's ad client id."},
          {"ad-channel", "ID", "The publisher's ad channel id."}},
         0,
         CliCommand::kAnyCount,
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
         true,
         RunImportCmd},
        {"prompt",
         "prompt [--source] NAME KEYWORD=VALUE...",
         "Build a command string from keyword values.",
         "Builds the command NAME from the values given as KEYWORD=VALUE, over the\n"
         "command's parameters in the reference: the parameters given, in the\n"
         "record's order, each as KEYWORD(value). Names and special values are\n"
         "upper-cased; free text (blanks, lower case, apostrophes) is quoted with\n"
         "apostrophes doubled; lists (A B) and command strings stay as typed.\n"
         "Prints the command on one line (with --source, as CL source lines of at\n"
         "most 80 columns continued with +). Every problem (a keyword the command\n"
         "lacks, a required parameter without a value, a value outside a closed\n"
         "list of special values or outside a range) is one line on standard\n"
         "error, and the exit status is then 1. For example\n"
         "  zentrivo-cli prompt crtlib lib=payroll type=*test \"text=Payroll data\"\n"
         "prints\n"
         "  CRTLIB LIB(PAYROLL) TYPE(*TEST) TEXT('Payroll data')\n",
         {{"source", nullptr, "Print CL source lines of at most 80 columns."}},
         1,
         CliCommand::kAnyCount,
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
         "positional values, a value outside a closed list or range) follow on\n"
         "standard error, one per line. Exit 0 when there are none, 1 when there\n"
         "are, 2 when the string is no command. For example\n"
         "  zentrivo-cli explain \"CRTLIB PAYROLL *TEST\"\n"
         "prints\n"
         "  LIB<TAB>PAYROLL<TAB>Library<TAB>(positional 1)\n"
         "  TYPE<TAB>*TEST<TAB>Library type<TAB>(positional 2)\n",
         {},
         1,
         CliCommand::kAnyCount,
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
         false,
         RunMsgid},
    };
    return commands;
}
