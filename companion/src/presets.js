'use strict'

const { combineRgb } = require('@companion-module/base')
const { Layout, numbers } = require('./layout')
const { kFeedbackStyles } = require('./feedbacks')

const kKey = { size: '14', color: combineRgb(255, 255, 255), bgcolor: combineRgb(0, 0, 0) }

function key(category, name, text, down, feedbacks, extra = {}) {
	return {
		type: 'button',
		category,
		name,
		style: { ...kKey, text },
		feedbacks,
		steps: [{ down, up: [], ...extra.steps }],
		...(extra.options ? { options: extra.options } : {}),
	}
}

const act = (actionId, options) => ({ actionId, options })
const lit = (feedbackId, options) => ({ feedbackId, options, style: kFeedbackStyles[feedbackId] })

// The pages a hub user drags onto a deck: eight encoders that turn and show the knobs, the
// unit keys, the hard keys, the menu and function buttons and the memories. `label` is the
// connection's, for the captions taken from its variables.
function presetDefinitions(label) {
	const presets = {}
	for (const knob of numbers(Layout.knobs)) {
		presets[`encoder_${knob}`] = key(
			'Encoders',
			`Knob ${knob}`,
			`Knob ${knob}`,
			[],
			[{ feedbackId: 'knob_display', options: { knob } }],
			{
				options: { rotaryActions: true },
				steps: {
					rotate_left: [act('turn', { knob, delta: -1 })],
					rotate_right: [act('turn', { knob, delta: 1 })],
				},
			},
		)
	}
	for (const unit of numbers(Layout.units)) {
		presets[`unit_${unit}`] = key(
			'Units',
			`Unit ${unit}`,
			`UNIT\n${unit}`,
			[act('select_unit', { unit })],
			[lit('unit_online', { unit }), lit('unit_selected', { unit })],
		)
	}
	for (const hardKey of Layout.hardKeys.filter((name) => !name.startsWith('UNIT') && !name.startsWith('MEM'))) {
		presets[`key_${hardKey}`] = key(
			'Hard keys',
			hardKey,
			hardKey,
			[act('press_key', { key: hardKey })],
			[lit('key_lit', { key: hardKey })],
		)
	}
	for (const button of numbers(Layout.menuButtons)) {
		presets[`menu_${button}`] = key(
			'Menu buttons',
			`Menu button ${button}`,
			`$(${label}:menu_${button})`,
			[act('press_menu', { button })],
			[lit('menu_lit', { button })],
		)
	}
	for (const button of numbers(Layout.functionButtons)) {
		presets[`function_${button}`] = key(
			'Function buttons',
			`Function button ${button}`,
			`$(${label}:function_${button})`,
			[act('press_function', { button })],
			[lit('function_lit', { button })],
		)
	}
	for (const memory of numbers(Layout.memories)) {
		presets[`recall_${memory}`] = key(
			'Memories',
			`Recall ${memory}`,
			`MEM\n${memory}`,
			[act('recall', { memory })],
			[lit('key_lit', { key: `MEM ${memory}` })],
		)
		presets[`store_${memory}`] = key('Memories', `Store ${memory}`, `STORE\n${memory}`, [act('store', { memory })], [])
	}
	presets.link = key('Status', 'Link', `$(${label}:title)\n$(${label}:link)`, [], [lit('link_lost', {})])
	return presets
}

module.exports = { presetDefinitions }
