// Resource ids of lumivex.
#pragma once
