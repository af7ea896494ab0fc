# The deployment tree's names, in one list for every program and script that lays a
# deployment out or finds its way in one: the engine (through the header configured from
# DeploymentLayout.h.in), the tests, the benchmarks, kestrix-run and the wizard's launcher
# (configured from their .in files). A run works in WORK_DIR, where the list files of the
# data's LISTS_DIR are; the suites and the catalogue folders lie one level above it.
set(KESTRIX_LAYOUT_WORK_DIR work)
set(KESTRIX_LAYOUT_LISTS_DIR lists)
set(KESTRIX_LAYOUT_TRANSLATIONS_DIR translations)

# The test suites: the general one and the keyword classification, for each analyser. Every
# suite folder's name ends in SUITE_SUFFIX.
set(KESTRIX_LAYOUT_SUITE_SUFFIX _tests)
set(KESTRIX_LAYOUT_C_GENERAL_SUITE c_tests)
set(KESTRIX_LAYOUT_CPP_GENERAL_SUITE cpp_tests)
set(KESTRIX_LAYOUT_C_KEYWORD_SUITE c_keyword_tests)
set(KESTRIX_LAYOUT_CPP_KEYWORD_SUITE cpp_keyword_tests)

# The catalogue: the compilers known, and the folders of the files that its entries name.
set(KESTRIX_LAYOUT_CATALOGUE_FILE compilers.txt)
set(KESTRIX_LAYOUT_TEMPLATES_DIR TemplatePersonalities)
set(KESTRIX_LAYOUT_FORCE_INCLUDES_DIR ForceIncludeFiles)
set(KESTRIX_LAYOUT_SUBSTITUTES_DIR SubstituteHeaders)
set(KESTRIX_LAYOUT_CATALOGUE_DIRS
    ${KESTRIX_LAYOUT_TEMPLATES_DIR} ${KESTRIX_LAYOUT_FORCE_INCLUDES_DIR} ${KESTRIX_LAYOUT_SUBSTITUTES_DIR})
# The same as a pattern of the shell's case command.
list(JOIN KESTRIX_LAYOUT_CATALOGUE_DIRS "|" KESTRIX_LAYOUT_CATALOGUE_DIRS_PATTERN)

# The list files of the working directory.
set(KESTRIX_LAYOUT_C_REPLACE_LIST c_replace_keywords.txt)
set(KESTRIX_LAYOUT_CPP_REPLACE_LIST cpp_replace_keywords.txt)
set(KESTRIX_LAYOUT_IGNORE_LIST ignore_keywords.txt)
set(KESTRIX_LAYOUT_IGNORE_RESERVED_LIST ignore_reserved_words.txt)
set(KESTRIX_LAYOUT_EXTENSION_LIST zan_extension_keywords.txt)
set(KESTRIX_LAYOUT_BUILTIN_REPLACE_LIST builtin_replace_keywords.txt)
set(KESTRIX_LAYOUT_C_KEYWORD_LIST c_keywords.txt)
set(KESTRIX_LAYOUT_CPP_KEYWORD_LIST cpp_keywords.txt)
set(KESTRIX_LAYOUT_CANDIDATE_LIST candidate_keywords.txt)
