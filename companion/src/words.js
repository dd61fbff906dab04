'use strict'

// The words of the panel's line protocol: blanks between them, a word with blanks in double
// quotes with \" and \\ inside. Lines come from the network, so nothing here trusts them.

// Splits a line into its words; null when a quoted word has no closing quote.
function splitWords(line) {
	const words = []
	let i = 0
	while (i < line.length) {
		if (line[i] === ' ' || line[i] === '\t') {
			i++
			continue
		}
		let word = ''
		if (line[i] === '"') {
			i++
			let closed = false
			while (i < line.length) {
				const c = line[i++]
				if (c === '\\' && i < line.length) {
					word += line[i++]
				} else if (c === '"') {
					closed = true
					break
				} else {
					word += c
				}
			}
			if (!closed) return null
		} else {
			while (i < line.length && line[i] !== ' ' && line[i] !== '\t') word += line[i++]
		}
		words.push(word)
	}
	return words
}

// A word as the panel reads it back, whatever it holds; a line break would end the command
// early, so it becomes a blank as the panel does with its own texts.
function quoted(text) {
	return (
		'"' +
		String(text)
			.replace(/[\r\n]/g, ' ')
			.replace(/[\\"]/g, '\\$&') +
		'"'
	)
}

// A parameter by its number (0..127 as the unit numbers it) or else by its name.
function parameterWord(parameter) {
	const text = String(parameter).trim()
	return /^\d{1,3}$/.test(text) ? text : quoted(text)
}

module.exports = { splitWords, quoted, parameterWord }
