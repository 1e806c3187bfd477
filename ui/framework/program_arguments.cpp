#include "program_arguments.h"

#include "backend.h"

namespace veltra {

ProgramArguments::ProgramArguments(int argc, char** argv) : m_values(backend::programArguments(argc, argv))
{
    for (std::string& value : m_values)
        m_pointers.push_back(value.data());
    m_argc = static_cast<int>(m_values.size());
    m_pointers.push_back(nullptr);
}

}  // namespace veltra
