// What the benchmarks run on: the compilers of the acceptance table with the commands of the
// probed fixtures (gcc and g++ with their include directories, the others with their catalogue
// entries), each in a scratch deployment of the source tree's data.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/DeploymentLayout.h"

struct BenchCompiler {
    std::string Name;
    std::vector<std::string> Args;  // Kestrix's command line after the program name
};

inline std::vector<BenchCompiler> BenchCompilers()
{
    const std::string avr = "/usr/lib/gcc/avr/5.4.0";
    return {
        {"gcc",
         {"zanth", "cmp", "gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i",
          "/usr/lib/gcc/x86_64-linux-gnu/12/include", "-i", "/usr/local/include", "-i",
          "/usr/include/x86_64-linux-gnu", "-i", "/usr/include"}},
        {"avr-gcc",
         {"zanth", "ccmp", "avr-gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", avr + "/include", "-i",
          avr + "/include-fixed", "-i", "/usr/lib/avr/include", "-i", avr, "-xs", "-mmcu=atmega2560"}},
        {"sdcc",
         {"zanth", "ccmp", "sdcc -mmcs51", "-o ", "-c", "-D", ".rel", "%c %d%j %o%e %s", "-i",
          "/usr/share/sdcc/include/mcs51", "-i", "/usr/share/sdcc/include", "-fi",
          "../ForceIncludeFiles/sdcc_mcs51.h"}},
        {"g++",
         {"zanthpp", "cmp", "g++", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/include/c++/12", "-i",
          "/usr/include/x86_64-linux-gnu/c++/12", "-i", "/usr/include/c++/12/backward", "-i",
          "/usr/lib/gcc/x86_64-linux-gnu/12/include", "-i", "/usr/local/include", "-i",
          "/usr/include/x86_64-linux-gnu", "-i", "/usr/include"}},
        {"clang",
         {"zanth", "cmp", "clang", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i",
          "/usr/lib/llvm-14/lib/clang/14.0.6/include", "-i", "/usr/local/include", "-i",
          "/usr/include/x86_64-linux-gnu", "-i", "/usr/include", "-xs", "-fno-builtin -ferror-limit=0"}},
        {"arm-none-eabi-gcc",
         {"zanth", "ccmp", "arm-none-eabi-gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/lib/gcc/arm-none-eabi/12.2.1/include", "-i", "/usr/lib/gcc/arm-none-eabi/12.2.1/include-fixed", "-i", "/usr/lib/arm-none-eabi/include"}},
        {"m68k-linux-gnu-gcc",
         {"zanth", "ccmp", "m68k-linux-gnu-gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/lib/gcc-cross/m68k-linux-gnu/12/include", "-i", "/usr/m68k-linux-gnu/include"}},
        {"cc65",
         {"zanth", "ccmp", "cl65 -t none", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/share/cc65/include"}},
        {"bcc",
         {"zanth", "ccmp", "bcc -ansi", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/lib/bcc/include"}},
        {"sdcc-z80",
         {"zanth", "ccmp", "sdcc -mz80", "-o ", "-c", "-D", ".rel", "%c %d%j %o%e %s", "-i", "/usr/share/sdcc/include"}},
        {"sdcc-stm8",
         {"zanth", "ccmp", "sdcc -mstm8", "-o ", "-c", "-D", ".rel", "%c %d%j %o%e %s", "-i", "/usr/share/sdcc/include"}},
        {"mingw-w64-gcc",
         {"zanth", "ccmp", "x86_64-w64-mingw32-gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/lib/gcc/x86_64-w64-mingw32/12-win32/include", "-i", "/usr/lib/gcc/x86_64-w64-mingw32/12-win32/include-fixed", "-i", "/usr/x86_64-w64-mingw32/include"}},
        {"riscv64-unknown-elf-gcc",
         {"zanth", "ccmp", "riscv64-unknown-elf-gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/lib/gcc/riscv64-unknown-elf/12.2.0/include", "-i", "/usr/lib/gcc/riscv64-unknown-elf/12.2.0/include-fixed"}},
        {"h8300-hms-gcc",
         {"zanth", "ccmp", "h8300-hms-gcc", "-o ", "-c", "-D", ".o", "%c %d%j %o%e %s", "-i", "/usr/lib/gcc/h8300-hitachi-coff/3.4.6/include", "-xs", "-mh"}},
    };
}

// A fresh deployment below root (removed first): the list files in root/work, the suites
// beside it. Returns the working directory.
inline std::string MakeBenchDeployment(const std::string& root)
{
    namespace fs = std::filesystem;
    fs::remove_all(root);
    const std::string work = root + "/" + kxcommon::layout::WorkDir;
    fs::create_directories(work);
    for (const auto& entry : fs::directory_iterator(KESTRIX_DATA_DIR)) {
        if (entry.path().filename() == kxcommon::layout::ListsDir) {
            for (const auto& list : fs::directory_iterator(entry.path()))
                fs::create_symlink(list.path(), work + "/" + list.path().filename().string());
        } else if (entry.is_directory()) {
            fs::create_directory_symlink(entry.path(), root + "/" + entry.path().filename().string());
        }
    }
    return work;
}
