// psalmora-tool bible: the translations of the program folder, importing Zefania/OSIS XML files and
// SWORD modules as further translations, and printing a passage the way the Bible page shows it.
#include "bible/bible_files.h"
#include "bible/bible_reference.h"
#include "bible/bible_xml_import.h"
#include "bible/sword/sword_import.h"
#include "cli/tool.h"
#include "core/text_encoding.h"

namespace psalmora::cli {
namespace {

int List(ToolContext& context) {
  for (const TranslationEntry& entry : ReadTranslationList(context.ProgramFolder())) {
    context.out << ForTerminal(entry.name) << "\t" << ForTerminal(entry.fileName) << "\n";
  }
  return kExitOk;
}

int Add(ToolContext& context, const ImportedBible& bible, const std::optional<std::string>& name) {
  for (const std::string& skipped : bible.skippedBooks) context.err << "left out, unknown book: " << skipped << "\n";
  const AddedTranslation added =
      AddTranslation(context.ProgramFolder(), bible, name ? Utf8ToCp1252(*name) : std::string());
  if (!added.ok()) return context.Fail(added.error);
  context.out << ForTerminal(added.name) << "\t" << added.fileName << "\t" << added.books << " books, "
              << added.chapters << " chapters, " << added.verses << " verses\n";
  return kExitOk;
}

int Show(ToolContext& context, const std::string& name, const std::string& referenceText) {
  const std::vector<TranslationEntry> list = ReadTranslationList(context.ProgramFolder());
  const std::optional<TranslationEntry> translation = FindTranslation(list, Utf8ToCp1252(name));
  if (!translation) return context.Fail("no translation named \"" + name + "\"");
  const std::optional<std::vector<std::string>> text = ReadTranslationText(context.ProgramFolder(), *translation);
  if (!text) return context.Fail("cannot read the text of \"" + name + "\" (" + translation->fileName + ")");
  const BibleReference reference = ParseBibleReference(Utf8ToCp1252(referenceText));
  if (!reference.ok()) return context.Fail(std::string(ReferenceErrorText(reference.error)) + ": " + referenceText);
  const Passage passage = ExtractPassage(*text, reference);
  switch (passage.error) {
    case PassageError::kNone:
      break;
    case PassageError::kBookMissing:
      return context.Fail(ForTerminal(reference.book->german) + " is not in \"" + name + "\"");
    case PassageError::kChapterMissing:
      return context.Fail(ForTerminal(reference.book->german) + " has no chapter " +
                          std::to_string(passage.missingChapter) + " in \"" + name + "\"");
    case PassageError::kVersesMissing:
      return context.Fail("no such verses in \"" + name + "\": " + ForTerminal(passage.header));
  }
  context.out << ForTerminal(passage.header) << "\n" << ForTerminal(passage.text) << "\n";
  return kExitOk;
}

int Bible(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {"--name"});
  if (!parsed.error.empty()) return context.UsageFail("bible", parsed.error);
  const std::vector<std::string>& words = parsed.positional;
  const std::string verb = words.empty() ? std::string() : words[0];
  if (verb == "list" && words.size() == 1) return List(context);
  if (verb == "import" && words.size() == 2) return Add(context, ReadBibleXml(words[1]), parsed.Option("--name"));
  if (verb == "import-sword" && words.size() == 2) {
    return Add(context, ReadSwordModule(words[1]), parsed.Option("--name"));
  }
  if (verb == "sword-modules" && words.size() == 1) {
    if (!SwordAvailable()) return context.Fail("this build cannot read SWORD modules");
    for (const SwordModuleInfo& module : ListSwordBibles())
      context.out << module.name << "\t" << module.description << "\n";
    return kExitOk;
  }
  if (verb == "show" && words.size() == 3) return Show(context, words[1], words[2]);
  return context.UsageFail("bible",
                           "bible takes list, import FILE, import-sword MODULE, sword-modules or show NAME REFERENCE");
}

}  // namespace

std::vector<Command> BibleCommands() {
  return {
      {"bible",
       "list | import FILE [--name NAME] | import-sword MODULE [--name NAME] | sword-modules | show NAME REFERENCE",
       "Bible translations of the program folder (name TAB file); import a Zefania or OSIS XML file or an "
       "installed SWORD module as a new translation; print a passage such as \"Joh 3,16-18\"",
       Bible},
  };
}

}  // namespace psalmora::cli
